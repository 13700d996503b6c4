-- Zelvana database set-up: the database, its eleven tables and the program's account.
-- Run by `script/db create` (and by the test harness, which puts another database name
-- in place of the back-quoted `zelv2010`). It is safe to run again: nothing is dropped.

CREATE DATABASE IF NOT EXISTS `zelv2010`
    CHARACTER SET utf8mb4 COLLATE utf8mb4_hungarian_ci;
USE `zelv2010`;

-- lease contract header
CREATE TABLE IF NOT EXISTS haszn (
    IDh    BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    hKod   VARCHAR(5)   NOT NULL DEFAULT '',
    hSzam  VARCHAR(45)  NULL,
    hNkod  VARCHAR(5)   NULL,
    hTol   DATE         NULL,
    hIg    DATE         NULL,
    hKelt  DATE         NULL,
    hMegj  VARCHAR(200) NULL,
    UNIQUE KEY ux_hKod (hKod),
    KEY ix_hNkod (hNkod)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_hungarian_ci;

-- contract item: the part of one parcel leased under a contract
CREATE TABLE IF NOT EXISTS alresz (
    IDa     INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    aKod    VARCHAR(8)   NOT NULL DEFAULT '',
    aHkod   VARCHAR(5)   NULL,
    aTkod   VARCHAR(8)   NULL,
    aMkod   VARCHAR(5)   NULL,
    aAK     DOUBLE       NULL,
    aHA     DOUBLE       NULL,
    aDatum  DATE         NULL,
    aJog    VARCHAR(45)  NULL,
    aTeljes VARCHAR(5)   NULL,
    aVazlat VARCHAR(5)   NULL,
    aSzoveg VARCHAR(200) NULL,
    UNIQUE KEY ux_aKod (aKod),
    KEY ix_aHkod (aHkod),
    KEY ix_aTkod (aTkod),
    KEY ix_aMkod (aMkod)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_hungarian_ci;

-- land owner (lessor)
CREATE TABLE IF NOT EXISTS tulaj (
    IDn       BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    nKod      VARCHAR(5)  NOT NULL DEFAULT '',
    nNev      VARCHAR(45) NULL,
    nSzido    DATE        NULL,
    nAnyja    VARCHAR(45) NULL,
    nIrszam   VARCHAR(5)  NULL,
    nHely     VARCHAR(45) NULL,
    nUtca     VARCHAR(45) NULL,
    nLnev     VARCHAR(45) NULL,
    nAdoazon  VARCHAR(10) NULL,
    nSzla     VARCHAR(45) NULL,
    nSzja     DOUBLE      NULL,
    nMin      VARCHAR(45) NULL,
    nSzemszam VARCHAR(13) NULL,
    UNIQUE KEY ux_nKod (nKod),
    KEY ix_nNev (nNev)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_hungarian_ci;

-- parcel (lot number)
CREATE TABLE IF NOT EXISTS tabla (
    IDt     BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    tKod    VARCHAR(8)  NOT NULL DEFAULT '',
    tTabla  VARCHAR(25) NULL,
    tHrsz   VARCHAR(25) NULL,
    tMegnev VARCHAR(25) NULL,
    tMkod   VARCHAR(5)  NULL,
    tAK     DOUBLE      NULL,
    tHA     DOUBLE      NULL,
    tMuvAK  DOUBLE      NULL,
    tMuvHA  DOUBLE      NULL,
    tUkod   VARCHAR(5)  NULL,
    tVkod   VARCHAR(5)  NULL,
    tFkod   VARCHAR(5)  NULL,
    UNIQUE KEY ux_tKod (tKod),
    KEY ix_tMkod (tMkod),
    KEY ix_tUkod (tUkod),
    KEY ix_tVkod (tVkod),
    KEY ix_tFkod (tFkod),
    KEY ix_tHrsz (tHrsz)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_hungarian_ci;

-- cultivation branch with the rent per gold crown
CREATE TABLE IF NOT EXISTS muvag (
    IDm    INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    mKod   VARCHAR(5)  NOT NULL DEFAULT '',
    mMuvag VARCHAR(45) NULL,
    mMino  VARCHAR(45) NULL,
    mDij   DOUBLE      NULL,
    UNIQUE KEY ux_mKod (mKod)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_hungarian_ci;

-- town
CREATE TABLE IF NOT EXISTS varos (
    IDv      INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    vKod     VARCHAR(5)  NOT NULL DEFAULT '',
    vHelyseg VARCHAR(45) NULL,
    UNIQUE KEY ux_vKod (vKod)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_hungarian_ci;

-- ownership form
CREATE TABLE IF NOT EXISTS tforma (
    IDu       BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    uKod      VARCHAR(5)  NOT NULL DEFAULT '',
    uTulforma VARCHAR(45) NULL,
    UNIQUE KEY ux_uKod (uKod)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_hungarian_ci;

-- location
CREATE TABLE IF NOT EXISTS fekves (
    IDf     INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    fKod    VARCHAR(5)  NOT NULL DEFAULT '',
    fFekves VARCHAR(45) NULL,
    UNIQUE KEY ux_fKod (fKod)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_hungarian_ci;

-- payment to an owner
CREATE TABLE IF NOT EXISTS kifiz (
    IDk      BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    kKod     VARCHAR(8)  NOT NULL DEFAULT '',
    kDatum   DATE        NULL,
    kMegnev  VARCHAR(45) NULL,
    kMenny   DOUBLE      NULL,
    kMe      VARCHAR(5)  NULL,
    kEar     DOUBLE      NULL,
    kFt      DOUBLE      NULL,
    kNkod    VARCHAR(5)  NULL,
    kFeladas VARCHAR(45) NOT NULL DEFAULT '',
    UNIQUE KEY ux_kKod (kKod),
    KEY ix_kNkod (kNkod),
    KEY ix_kFeladas (kFeladas)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_hungarian_ci;

-- the tenant: the farming company that runs the program
CREATE TABLE IF NOT EXISTS berlo (
    IDb      INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    BNeve    VARCHAR(80) NULL,
    BIrszam  VARCHAR(5)  NULL,
    BHelyseg VARCHAR(45) NULL,
    BUtca    VARCHAR(80) NULL,
    BAdoszam VARCHAR(20) NULL,
    BSzla    VARCHAR(45) NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_hungarian_ci;

-- settlement work table; each column has the type of its source column
CREATE TABLE IF NOT EXISTS munk (
    xaKod     VARCHAR(8)  NULL,
    xaHkod    VARCHAR(5)  NULL,
    xaTkod    VARCHAR(8)  NULL,
    xaMkod    VARCHAR(5)  NULL,
    xaAK      DOUBLE      NULL,
    xaHA      DOUBLE      NULL,
    xhKod     VARCHAR(5)  NULL,
    xhSzam    VARCHAR(45) NULL,
    xhNkod    VARCHAR(5)  NULL,
    xhTol     DATE        NULL,
    xhIg      DATE        NULL,
    xmKod     VARCHAR(5)  NULL,
    xmMuvag   VARCHAR(45) NULL,
    xmMino    VARCHAR(45) NULL,
    xmDij     DOUBLE      NULL,
    xkKod     VARCHAR(8)  NULL,
    xkNkod    VARCHAR(5)  NULL,
    xkMegnev  VARCHAR(45) NULL,
    xkMenny   DOUBLE      NULL,
    xkMe      VARCHAR(5)  NULL,
    xkEar     DOUBLE      NULL,
    xkFt      DOUBLE      NULL,
    xkDatum   DATE        NULL,
    xnKod     VARCHAR(5)  NULL,
    xnNev     VARCHAR(45) NULL,
    xnSzido   DATE        NULL,
    xnAnyja   VARCHAR(45) NULL,
    xnIrszam  VARCHAR(5)  NULL,
    xnHely    VARCHAR(45) NULL,
    xnUtca    VARCHAR(45) NULL,
    xnAdoazon VARCHAR(10) NULL,
    xjel      VARCHAR(1)  NOT NULL DEFAULT '',
    KEY ix_xaKod (xaKod),
    KEY ix_xaHkod (xaHkod),
    KEY ix_xaTkod (xaTkod),
    KEY ix_xaMkod (xaMkod),
    KEY ix_xhKod (xhKod),
    KEY ix_xhNkod (xhNkod),
    KEY ix_xkNkod (xkNkod),
    KEY ix_xnKod (xnKod),
    KEY ix_xjel (xjel)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_hungarian_ci;

-- The tenant's own (paying) account for the rent payout by transfer; added to older databases too.
ALTER TABLE berlo ADD COLUMN IF NOT EXISTS BSzla VARCHAR(45) NULL AFTER BAdoszam;

-- The numeric value of each code column, invisible (SELECT * does not show it) and indexed: the
-- code of a new row is the greatest code plus one, found in one index look-up instead of reading
-- the whole table. Codes that are not whole numbers have none. Added to older databases too.
ALTER TABLE haszn ADD COLUMN IF NOT EXISTS hKodNum BIGINT UNSIGNED
    AS (IF(TRIM(hKod) REGEXP '^[0-9]{1,18}$', CAST(TRIM(hKod) AS UNSIGNED), NULL)) VIRTUAL INVISIBLE,
    ADD INDEX IF NOT EXISTS ix_hKodNum (hKodNum);
ALTER TABLE alresz ADD COLUMN IF NOT EXISTS aKodNum BIGINT UNSIGNED
    AS (IF(TRIM(aKod) REGEXP '^[0-9]{1,18}$', CAST(TRIM(aKod) AS UNSIGNED), NULL)) VIRTUAL INVISIBLE,
    ADD INDEX IF NOT EXISTS ix_aKodNum (aKodNum);
ALTER TABLE tulaj ADD COLUMN IF NOT EXISTS nKodNum BIGINT UNSIGNED
    AS (IF(TRIM(nKod) REGEXP '^[0-9]{1,18}$', CAST(TRIM(nKod) AS UNSIGNED), NULL)) VIRTUAL INVISIBLE,
    ADD INDEX IF NOT EXISTS ix_nKodNum (nKodNum);
ALTER TABLE tabla ADD COLUMN IF NOT EXISTS tKodNum BIGINT UNSIGNED
    AS (IF(TRIM(tKod) REGEXP '^[0-9]{1,18}$', CAST(TRIM(tKod) AS UNSIGNED), NULL)) VIRTUAL INVISIBLE,
    ADD INDEX IF NOT EXISTS ix_tKodNum (tKodNum);
ALTER TABLE muvag ADD COLUMN IF NOT EXISTS mKodNum BIGINT UNSIGNED
    AS (IF(TRIM(mKod) REGEXP '^[0-9]{1,18}$', CAST(TRIM(mKod) AS UNSIGNED), NULL)) VIRTUAL INVISIBLE,
    ADD INDEX IF NOT EXISTS ix_mKodNum (mKodNum);
ALTER TABLE varos ADD COLUMN IF NOT EXISTS vKodNum BIGINT UNSIGNED
    AS (IF(TRIM(vKod) REGEXP '^[0-9]{1,18}$', CAST(TRIM(vKod) AS UNSIGNED), NULL)) VIRTUAL INVISIBLE,
    ADD INDEX IF NOT EXISTS ix_vKodNum (vKodNum);
ALTER TABLE tforma ADD COLUMN IF NOT EXISTS uKodNum BIGINT UNSIGNED
    AS (IF(TRIM(uKod) REGEXP '^[0-9]{1,18}$', CAST(TRIM(uKod) AS UNSIGNED), NULL)) VIRTUAL INVISIBLE,
    ADD INDEX IF NOT EXISTS ix_uKodNum (uKodNum);
ALTER TABLE fekves ADD COLUMN IF NOT EXISTS fKodNum BIGINT UNSIGNED
    AS (IF(TRIM(fKod) REGEXP '^[0-9]{1,18}$', CAST(TRIM(fKod) AS UNSIGNED), NULL)) VIRTUAL INVISIBLE,
    ADD INDEX IF NOT EXISTS ix_fKodNum (fKodNum);
ALTER TABLE kifiz ADD COLUMN IF NOT EXISTS kKodNum BIGINT UNSIGNED
    AS (IF(TRIM(kKod) REGEXP '^[0-9]{1,18}$', CAST(TRIM(kKod) AS UNSIGNED), NULL)) VIRTUAL INVISIBLE,
    ADD INDEX IF NOT EXISTS ix_kKodNum (kKodNum);

-- The program's account: no password, row rights on the database, FILE for the export.
CREATE USER IF NOT EXISTS 'zelv2010'@'localhost';
CREATE USER IF NOT EXISTS 'zelv2010'@'127.0.0.1';
GRANT SELECT, INSERT, UPDATE, DELETE ON `zelv2010`.* TO 'zelv2010'@'localhost';
GRANT SELECT, INSERT, UPDATE, DELETE ON `zelv2010`.* TO 'zelv2010'@'127.0.0.1';
GRANT FILE ON *.* TO 'zelv2010'@'localhost';
GRANT FILE ON *.* TO 'zelv2010'@'127.0.0.1';
