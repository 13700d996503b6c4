-- Standard rows of the code tables. The fee per gold crown stays 0 until the user sets it.
-- Loaded once into a new database by `script/db create`; the tenant row is added there too.

INSERT INTO muvag (mKod, mMuvag, mMino, mDij) VALUES
    ('1',  'szántó',            '', 0),
    ('2',  'rét',               '', 0),
    ('3',  'legelő',            '', 0),
    ('4',  'szőlő',             '', 0),
    ('5',  'gyümölcsös',        '', 0),
    ('6',  'kert',              '', 0),
    ('7',  'nádas',             '', 0),
    ('8',  'erdő',              '', 0),
    ('9',  'fásított terület',  '', 0),
    ('10', 'halastó',           '', 0);

INSERT INTO fekves (fKod, fFekves) VALUES
    ('1', 'belterület'),
    ('2', 'külterület'),
    ('3', 'zártkert');

INSERT INTO tforma (uKod, uTulforma) VALUES
    ('1', 'magántulajdon'),
    ('2', 'osztatlan közös tulajdon'),
    ('3', 'állami tulajdon'),
    ('4', 'önkormányzati tulajdon'),
    ('5', 'egyházi tulajdon'),
    ('6', 'társasági tulajdon');
