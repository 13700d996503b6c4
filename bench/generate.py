#!/usr/bin/env python3
"""A deterministic register of a farm that leases land from many private owners, for benchmarks.

    bench/generate.py --size farm|large|N --socket SOCKET [--user root] [--database NAME]

Creates the database NAME (default zelvana_bench) from db/create.sql, fills the code tables, the
tenant, owners, parcels, contracts, items and payments, and loads them with LOAD DATA LOCAL INFILE
through the mariadb client (a few seconds for the farm, under a minute for the large register).

Sizes (owners / contracts / items / parcels / payments):
    farm      5 000 /  6 000 /  15 000 /  8 000 /  20 000
    large    50 000 / 60 000 / 150 000 / 80 000 / 200 000
    N        the farm times N (a fraction is allowed: 0.1 gives a tenth)

The same size gives the same rows, byte for byte, on every run and machine (one seeded generator,
no clock, no hash order).
"""

import argparse
import datetime
import os
import random
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(HERE)

FARM = dict(owners=5000, contracts=6000, items=15000, parcels=8000, payments=20000)

SURNAMES = [
    "Nagy", "Kovács", "Tóth", "Szabó", "Horváth", "Varga", "Kiss", "Molnár", "Németh", "Farkas",
    "Balogh", "Papp", "Takács", "Juhász", "Lakatos", "Mészáros", "Oláh", "Simon", "Rácz", "Fekete",
    "Szilágyi", "Török", "Fehér", "Balázs", "Gál", "Kis", "Szűcs", "Kocsis", "Pintér", "Fodor",
    "Szalai", "Sipos", "Magyar", "Lukács", "Gulyás", "Bíró", "Király", "Katona", "László", "Jakab",
    "Bogdán", "Sándor", "Boros", "Fazekas", "Kelemen", "Antal", "Orbán", "Somogyi", "Vörös", "Fülöp",
    "Veres", "Budai", "Vincze", "Hegedűs", "Deák", "Bálint", "Illés", "Pál", "Vass", "Szőke",
    "Fábián", "Vida", "Borbély", "Csonka", "Ördög", "Ürögdi", "Őry", "Győri", "Kőszegi", "Ács",
    "Érsek", "Úri", "Czakó", "Dudás", "Csizmadia", "Bakos", "Gyurkó", "Kun", "Tar", "Szekeres",
]
MALE = [
    "László", "István", "József", "János", "Zoltán", "Sándor", "Gábor", "Ferenc", "Attila", "Péter",
    "Tamás", "Zsolt", "Tibor", "András", "Csaba", "Imre", "Lajos", "György", "Balázs", "Gyula",
    "Mihály", "Károly", "Róbert", "Béla", "Dávid", "Dániel", "Ödön", "Lőrinc", "Győző", "Ernő",
]
FEMALE = [
    "Mária", "Erzsébet", "Katalin", "Ilona", "Éva", "Anna", "Zsuzsanna", "Margit", "Judit", "Ágnes",
    "Andrea", "Erika", "Krisztina", "Irén", "Eszter", "Julianna", "Piroska", "Rozália", "Terézia",
    "Gizella", "Ibolya", "Enikő", "Tünde", "Szilvia", "Edit", "Etelka", "Őrsike", "Ünige",
]
# Towns of the region with their postcodes.
TOWNS = [
    ("6100", "Kiskunfélegyháza"), ("6114", "Bugac"), ("6120", "Kiskunmajsa"), ("6131", "Szank"),
    ("6000", "Kecskemét"), ("6133", "Jászszentlászló"), ("6111", "Gátér"), ("6113", "Petőfiszállás"),
    ("6112", "Pálmonostora"), ("6066", "Tiszaalpár"), ("6765", "Csengele"), ("6134", "Kömpöc"),
    ("6132", "Móricgát"), ("6116", "Fülöpjakab"), ("6236", "Tázlár"), ("6230", "Soltvadkert"),
    ("6200", "Kiskőrös"), ("6400", "Kiskunhalas"), ("6070", "Izsák"), ("6065", "Lakitelek"),
    ("6032", "Nyárlőrinc"), ("6033", "Városföld"), ("6034", "Helvécia"), ("6035", "Ballószög"),
    ("6060", "Tiszakécske"), ("6115", "Kunszállás"), ("6235", "Bócsa"), ("6077", "Orgovány"),
    ("6078", "Jakabszállás"), ("6031", "Szentkirály"), ("6042", "Fülöpháza"), ("6041", "Kerekegyháza"),
    ("6076", "Ágasegyháza"), ("6085", "Fülöpszállás"), ("6080", "Szabadszállás"),
    ("6090", "Kunszentmiklós"), ("6087", "Dunavecse"), ("6320", "Solt"), ("6300", "Kalocsa"),
    ("6237", "Kecel"),
]
STREETS = [
    "Petőfi Sándor u.", "Kossuth Lajos u.", "Dózsa György út", "Béke u.", "Ady Endre u.",
    "Rákóczi u.", "Széchenyi tér", "Arany János u.", "Jókai Mór u.", "Táncsics u.", "Bem József u.",
    "Szegedi út", "Fő u.", "Hunyadi u.", "Szőlő u.", "Öreg u.", "Tanya", "Ősz u.", "Újszász u.",
]
FIELDS = [
    "Feketeszél", "Rétföld", "Homokos", "Faluvég", "Vízállás", "Nagyrét", "Kisrét", "Öregszőlő",
    "Pusztaszél", "Tanyaföld", "Ürgehát", "Őrhegy", "Csárdadűlő", "Halesz", "Szárazér", "Kőrösér",
]
# Cultivation branches: code, name, fee per AK (Ft), share of the parcels, AK per hectare.
BRANCHES = [
    ("1", "szántó", 1600, 60, (14, 34)),
    ("2", "rét", 900, 10, (5, 15)),
    ("3", "legelő", 700, 10, (3, 10)),
    ("4", "szőlő", 2000, 5, (15, 30)),
    ("5", "gyümölcsös", 1800, 4, (12, 28)),
    ("6", "kert", 1500, 2, (15, 30)),
    ("7", "nádas", 300, 2, (2, 6)),
    ("8", "erdő", 200, 5, (2, 8)),
    ("9", "fásított terület", 200, 1, (2, 6)),
    ("10", "halastó", 500, 1, (3, 8)),
]
LOCATIONS = [("1", "belterület"), ("2", "külterület"), ("3", "zártkert")]
FORMS = [
    ("1", "magántulajdon"), ("2", "osztatlan közös tulajdon"), ("3", "állami tulajdon"),
    ("4", "önkormányzati tulajdon"), ("5", "egyházi tulajdon"), ("6", "társasági tulajdon"),
]
RIGHTS = ["Bérlet"] * 12 + ["Részarány", "Kárpótlási terület", "Külterület", "Egyéb"]
PRODUCE = [("búza", "q", 6500), ("kukorica", "q", 5800), ("napraforgó", "q", 13500), ("árpa", "q", 5200),
           ("zab", "q", 4800), ("tűzifa", "m3", 28000)]
# The first seven digits of account numbers of Hungarian banks' branches.
BANKS = ["1177301", "1177300", "1040200", "1201000", "1160000", "1091800", "1070000", "1030000",
         "5040001", "1173200", "1200102"]
WEIGHTS = [9, 7, 3, 1]


def check_digit(digits):
    s = sum(int(d) * WEIGHTS[i % 4] for i, d in enumerate(digits))
    return str((10 - s % 10) % 10)


def account(rng):
    """A Hungarian account number with valid check digits, in the forms clerks type."""
    first = rng.choice(BANKS)
    first += check_digit(first)
    long = rng.random() < 0.35
    body = "".join(str(rng.randrange(10)) for _ in range(15 if long else 7))
    rest = body + check_digit(body)
    blocks = [first, rest[:8]] + ([rest[8:]] if long else [])
    style = rng.random()
    if style < 0.8:
        text = "-".join(blocks)
    elif style < 0.9:
        text = "".join(blocks)
    else:
        text = " ".join(blocks)
    if rng.random() < 0.01:  # a clerk's typo: two digits swapped
        i = rng.randrange(len(text) - 1)
        if text[i].isdigit() and text[i + 1].isdigit() and text[i] != text[i + 1]:
            text = text[:i] + text[i + 1] + text[i] + text[i + 2:]
    return text


def tax_id(rng, birth):
    """A Hungarian tax identifier: 8, the days since 1867-01-01, three digits, a check digit."""
    days = (birth - datetime.date(1867, 1, 1)).days
    while True:
        digits = "8" + "%05d" % days + "%03d" % rng.randrange(1000)
        check = sum(int(d) * (i + 1) for i, d in enumerate(digits)) % 11
        if check < 10:
            return digits + str(check)


def day(rng, start_year, end_year):
    start = datetime.date(start_year, 1, 1)
    span = (datetime.date(end_year, 12, 31) - start).days
    return start + datetime.timedelta(days=rng.randrange(span + 1))


def esc(value):
    """One field of a LOAD DATA line: \\N for NULL, tabs, newlines and backslashes escaped."""
    if value is None:
        return "\\N"
    if isinstance(value, float):
        return repr(round(value, 6))
    s = str(value)
    return s.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def generate(scale, out):
    """Writes one tab-separated file per table into the folder `out`; returns the row counts."""
    rng = random.Random(20101)
    n = {k: max(1, int(round(v * scale))) for k, v in FARM.items()}
    n["contracts"] = max(n["contracts"], n["owners"])
    files = {}

    def write(table, columns, rows):
        path = os.path.join(out, table + ".tsv")
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            for r in rows:
                f.write("\t".join(esc(v) for v in r) + "\n")
        files[table] = (path, columns)

    write("muvag", "mKod, mMuvag, mMino, mDij", [(b[0], b[1], "", b[2]) for b in BRANCHES])
    write("fekves", "fKod, fFekves", LOCATIONS)
    write("tforma", "uKod, uTulforma", FORMS)
    write("varos", "vKod, vHelyseg", [(str(i + 1), t[1]) for i, t in enumerate(TOWNS)])

    owners = []
    for i in range(n["owners"]):
        female = rng.random() < 0.45
        surname = rng.choice(SURNAMES)
        married = female and rng.random() < 0.3
        if married:
            name = "%s %sné" % (surname, rng.choice(MALE))
            maiden = "%s %s" % (rng.choice(SURNAMES), rng.choice(FEMALE))
        else:
            name = "%s %s" % (surname, rng.choice(FEMALE if female else MALE))
            maiden = ""
        birth = day(rng, 1932, 1985)
        mother = "%s %s" % (rng.choice(SURNAMES), rng.choice(FEMALE))
        postcode, town = rng.choice(TOWNS)
        street = "%s %d." % (rng.choice(STREETS), rng.randrange(1, 140))
        sex = "2" if female else "1"
        personal = "%s-%s-%04d" % (sex, birth.strftime("%y%m%d"), rng.randrange(10000))
        acct = account(rng) if rng.random() < 0.85 else ""
        owners.append((str(i + 1), name[:45], birth.isoformat(), mother[:45], postcode, town, street[:45],
                       maiden[:45], tax_id(rng, birth), acct, None, "", personal))
    write("tulaj", "nKod, nNev, nSzido, nAnyja, nIrszam, nHely, nUtca, nLnev, nAdoazon, nSzla, nSzja, nMin, "
          "nSzemszam", owners)

    branch_weights = [b[3] for b in BRANCHES]
    parcels = []
    for i in range(n["parcels"]):
        b = rng.choices(BRANCHES, weights=branch_weights)[0]
        ha = round(min(40.0, rng.lognormvariate(0.3, 0.9)), 4)
        ak = round(ha * rng.uniform(*b[4]), 2)
        town = rng.randrange(len(TOWNS)) + 1
        loc = rng.choices(LOCATIONS, weights=[5, 85, 10])[0][0]
        if loc == "1":
            hrsz = str(rng.randrange(1, 3000))
        else:
            hrsz = "0%d/%d" % (rng.randrange(10, 999), rng.randrange(1, 60))
        form = rng.choices(FORMS, weights=[70, 25, 1, 2, 1, 1])[0][0]
        parcels.append((str(i + 1), rng.choice(FIELDS), hrsz, b[1], b[0], ak, ha, None, None, form, str(town),
                        loc))
    write("tabla", "tKod, tTabla, tHrsz, tMegnev, tMkod, tAK, tHA, tMuvAK, tMuvHA, tUkod, tVkod, tFkod", parcels)

    # Every owner has a contract; the rest go to owners with a second one.
    contract_owner = list(range(1, n["owners"] + 1)) + [
        rng.randrange(1, n["owners"] + 1) for _ in range(n["contracts"] - n["owners"])]
    contracts = []
    for i, owner in enumerate(contract_owner):
        start = datetime.date(rng.randrange(2008, 2024), rng.choice([1, 10]), 1)
        years = rng.choice([5, 10, 10, 15, 20])
        end = datetime.date(start.year + years, start.month, 1) - datetime.timedelta(days=1)
        signed = start - datetime.timedelta(days=rng.randrange(3, 60))
        remark = rng.choice(["", "", "", "elővásárlási jog", "hosszabbítva", "örökös lépett be"])
        contracts.append((str(i + 1), "%d/%d" % (rng.randrange(1, 500), signed.year), str(owner),
                          start.isoformat(), end.isoformat(), signed.isoformat(), remark))
    write("haszn", "hKod, hSzam, hNkod, hTol, hIg, hKelt, hMegj", contracts)

    # Items: every contract one, the rest spread (one to several per contract); a parcel may be
    # leased in parts by several contracts (undivided common ownership).
    item_contract = list(range(1, n["contracts"] + 1))
    while len(item_contract) < n["items"]:
        item_contract.append(rng.randrange(1, n["contracts"] + 1))
    item_contract = sorted(item_contract[:n["items"]])
    items = []
    for i, c in enumerate(item_contract):
        p = parcels[rng.randrange(len(parcels))]
        share = 1.0 if rng.random() < 0.6 else rng.choice([0.5, 0.25, 1 / 3, 0.125, 0.2])
        branch = p[4] if rng.random() < 0.92 else rng.choices(BRANCHES, weights=branch_weights)[0][0]
        whole = "Igen" if share == 1.0 else "Nem"
        items.append((str(i + 1), str(c), p[0], branch, round(p[5] * share, 2), round(p[6] * share, 4),
                      contracts[c - 1][5], rng.choice(RIGHTS), whole, rng.choice(["Igen", "Nem"]), ""))
    write("alresz", "aKod, aHkod, aTkod, aMkod, aAK, aHA, aDatum, aJog, aTeljes, aVazlat, aSzoveg", items)

    payments = []
    for i in range(n["payments"]):
        owner = rng.randrange(1, n["owners"] + 1)
        when = day(rng, 2019, 2025)
        kind = rng.random()
        if kind < 0.35:  # in produce: quantity times unit price, to the fillér and beyond
            name, unit, price = rng.choice(PRODUCE)
            qty = round(rng.uniform(0.5, 40), rng.choice([0, 1, 2]))
            price = round(price * rng.uniform(0.9, 1.1), rng.choice([0, 0, 2]))
            payments.append((str(i + 1), when.isoformat(), name, qty, unit, price, qty * price, str(owner), ""))
        elif kind < 0.75:  # money
            amount = float(rng.randrange(2, 400) * 500)
            payments.append((str(i + 1), when.isoformat(), "Bérleti díj %d" % when.year, 0.0, "", 0.0, amount,
                             str(owner), ""))
        else:  # group-posted rent
            amount = round(rng.uniform(3000, 300000), 2)
            payments.append((str(i + 1), when.isoformat(), "Bérleti dij (csoportos feladás)", 0.0, "", 0.0,
                             amount, str(owner), "x"))
    write("kifiz", "kKod, kDatum, kMegnev, kMenny, kMe, kEar, kFt, kNkod, kFeladas", payments)
    return files, n


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--size", default="farm")
    ap.add_argument("--socket", required=True)
    ap.add_argument("--user", default="root")
    ap.add_argument("--database", default="zelvana_bench")
    args = ap.parse_args()
    scale = {"farm": 1.0, "large": 10.0}.get(args.size)
    if scale is None:
        scale = float(args.size)

    client = ["mariadb", "--no-defaults", "--socket=" + args.socket, "-u" + args.user,
              "--default-character-set=utf8mb4", "--local-infile=1"]
    started = time.time()
    with open(os.path.join(TOP, "db", "create.sql"), encoding="utf-8") as f:
        create = f.read().replace("`zelv2010`", "`%s`" % args.database)
    subprocess.run(client, input=("DROP DATABASE IF EXISTS `%s`;\n" % args.database) + create,
                   text=True, check=True)
    with tempfile.TemporaryDirectory() as out:
        files, n = generate(scale, out)
        generated = time.time()
        sql = ["SET unique_checks = 0;", "SET foreign_key_checks = 0;", "SET autocommit = 0;",
               "INSERT INTO berlo (BNeve, BIrszam, BHelyseg, BUtca, BAdoszam, BSzla) VALUES "
               "('Zöldmező Mezőgazdasági Zrt.', '6100', 'Kiskunfélegyháza', 'Majsai út 12.', '14725836-2-03', "
               "'11773016-11111018-00000000');"]
        for table, (path, columns) in files.items():
            sql.append("LOAD DATA LOCAL INFILE '%s' INTO TABLE %s CHARACTER SET utf8mb4 "
                       "FIELDS TERMINATED BY '\\t' ESCAPED BY '\\\\' LINES TERMINATED BY '\\n' (%s);"
                       % (path, table, columns))
        sql.append("COMMIT;")
        subprocess.run(client + [args.database], input="\n".join(sql) + "\n", text=True, check=True)
    done = time.time()
    print("%s: %d owners, %d contracts, %d items, %d parcels, %d payments; generated in %.1f s, loaded in %.1f s"
          % (args.database, n["owners"], n["contracts"], n["items"], n["parcels"], n["payments"],
             generated - started, done - generated))


if __name__ == "__main__":
    sys.exit(main())
