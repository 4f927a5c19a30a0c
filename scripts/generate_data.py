#!/usr/bin/env python3
"""Writes a Quorix installation folder: DIR/Data/... with every table file,
the piece line files, the reference lists, the courier tariffs, the
settings file, the print templates with their logos and the barcode
pictures of the pieces (print_assets.py), in Windows-1252 with CR LF line
ends.

The defaults give the small sample installation kept in sample/Data; larger
sizes give benchmark data from the same code. The output depends only on the
arguments (same seed, same bytes).

    python3 scripts/generate_data.py --out DIR [--articles N] [--clients N]
        [--factures N] [--devis N] [--avoirs N] [--max-line-files N] [--seed S]
"""

import argparse
import os
import random
import sys

from print_assets import write_print_assets

# Folders the program expects under Data; git keeps no empty folder, so the
# generator (and the run script) create them.
FOLDERS = [
    "Factures",
    "Devis",
    "Avoirs",
    "Poubelle Officielle",
    "Elements imprimes",
    "Modeles",
    "Bitmaps",
    "Barcodes",
    "Importation/Todo",
    "Importation/Done",
]

ARTICLE_FIELDS = ["Code", "Designation", "Prix Achat", "Prix Vente", "Coef", "Poids", "Code Barre"]
CLIENT_FIELDS = [
    "Code", "Societe", "Telephone", "Fax", "Portable", "Adresse 1", "Adresse 2", "Adresse 3", "Ville", "Pays",
    "Imm. TVA", "E-mail", "Code postal", "Societe livraison", "Adresse 1 livraison", "Adresse 2 livraison",
    "Adresse 3 livraison", "Code postal livraison", "Ville livraison", "Pays livraison", "Echeance", "Contact",
]
PIECE_HEADER_FIELDS = ["Date", "Code client", "Societe", "Port", "Poids", "Total HT", "Total TTC"]
LINE_FIELDS = ["Quantite", "Code", "Designation", "Prix Uni. TTC", "Montant TTC"]

# The catalogue of the sample: designations as the wholesalers print them,
# upper case, accented capitals kept. The mark says whether the product is on
# the psychotropic (P) or narcotic (S) reference list.
CATALOGUE = [
    ("DOLIPRANE 1000MG CPR B/8", ""),
    ("DOLIPRANE 500MG GELULES B/16", ""),
    ("EFFERALGAN 500MG CPR EFFERV. B/16", ""),
    ("DAFALGAN 1G CPR PELL. B/8", ""),
    ("SPASFON LYOC 80MG B/10", ""),
    ("SMECTA 3G POUDRE SACHETS B/30", ""),
    ("GAVISCON SUSPENSION BUVABLE FL/250ML", ""),
    ("BÉPANTHÈNE 5% POMMADE TUBE 100G", ""),
    ("BIAFINE ÉMULSION TUBE 186G", ""),
    ("CRÈME DE CALENDULA BOIRON 20G", ""),
    ("SÉRUM PHYSIOLOGIQUE UNIDOSES 40X5ML", ""),
    ("EAU OXYGÉNÉE 10 VOL. FLACON 250ML", ""),
    ("HEXAMIDINE SOLUTION À 0,1% FL/45ML", ""),
    ("SIROP À LA CODÉINE ENFANT FL/125ML", "P"),
    ("COMPRESSES DE GAZE FRANÇAISES 10X10 B/50", ""),
    ("VOLTARÈNE EMULGEL 1% TUBE 100G", ""),
    ("AMOXICILLINE 1G CPR DISPERSIBLES B/6", ""),
    ("AUGMENTIN 1G/125MG SACHETS B/8", ""),
    ("CLAMOXYL 500MG GELULES B/12", ""),
    ("FLAGYL 500MG CPR B/14", ""),
    ("GLUCOPHAGE 850MG CPR B/30", ""),
    ("KARDÉGIC 75MG POUDRE SACHETS B/30", ""),
    ("LASILIX 40MG CPR B/30", ""),
    ("AMLOR 5MG GELULES B/30", ""),
    ("TAHOR 20MG CPR B/28", ""),
    ("INEXIUM 20MG CPR B/14", ""),
    ("MOPRAL 20MG GELULES B/14", ""),
    ("VENTOLINE 100µG SUSP. INHAL. FL/200 DOSES", ""),
    ("ZYRTEC 10MG CPR B/15", ""),
    ("CÉLESTÈNE 0,05% SOLUTION BUVABLE FL/30ML", ""),
    ("QUININE 250MG CPR B/20 (ANTIPALUDÉEN)", ""),
    ("COARTEM 20/120MG CPR B/24", ""),
    ("NIVAQUINE 100MG CPR B/20", ""),
    ("XANAX 0,25MG CPR B/30", "P"),
    ("LEXOMIL 6MG CPR QUADRISÉCABLE B/30", "P"),
    ("STILNOX 10MG CPR B/14", "P"),
    ("VALIUM 10MG CPR B/40", "P"),
    ("SKENAN LP 30MG GELULES B/14", "S"),
    ("MORPHINE AGUETTANT 10MG/ML AMP. B/10", "S"),
    ("DUROGESIC 25µG/H DISPOSITIF B/5", "S"),
]

# Words for the larger generated catalogues.
MOLECULES = [
    "PARACETAMOL", "IBUPROFENE", "AMOXICILLINE", "METFORMINE", "OMEPRAZOLE", "ATORVASTATINE", "AMLODIPINE",
    "FUROSEMIDE", "CIPROFLOXACINE", "AZITHROMYCINE", "CÉFIXIME", "LORATADINE", "PRÉDNISOLONE", "DICLOFÉNAC",
    "MÉTRONIDAZOLE", "ARTÉMÉTHER", "DOXYCYCLINE", "SALBUTAMOL", "RANITIDINE", "CAPTOPRIL", "GLIBENCLAMIDE",
    "FER + ACIDE FOLIQUE", "VITAMINE C", "ZINC", "KÉTOPROFÈNE", "CÉTIRIZINE", "LOPÉRAMIDE", "DOMPÉRIDONE",
]
DOSAGES = ["5MG", "10MG", "20MG", "40MG", "100MG", "250MG", "500MG", "850MG", "1G", "2%", "0,1%"]
FORMS = ["CPR", "CPR PELL.", "GELULES", "SACHETS", "SIROP FL/125ML", "SOL. BUV.", "CRÈME TUBE 30G", "AMP. INJ."]
PACKS = ["B/10", "B/14", "B/16", "B/20", "B/28", "B/30", "B/60", "B/100"]

# Clients: code, company, town, country, postcode, address, phone prefix,
# contact, payment term.
CLIENTS = [
    ("PHARMACIE CENTRALE DE DAKAR", "DAKAR", "SENEGAL", "BP 1254", "AVENUE LAMINE GUEYE", "+221 33 821 ", "MAMADOU DIOP", "30Jours"),
    ("PHARMACIE DU PLATEAU", "ABIDJAN", "COTE D'IVOIRE", "01 BP 3520", "BOULEVARD DE LA RÉPUBLIQUE", "+225 20 21 ", "KOUASSI N'GUESSAN", "Comptant"),
    ("GRANDE PHARMACIE DE LA GARE", "PARIS", "FRANCE", "75010", "12 RUE DE DUNKERQUE", "01 42 05 ", "CÉLINE MARTIN", "30Jours"),
    ("PHARMACIE SAINT-EXUPÉRY", "LYON", "FRANCE", "69002", "3 PLACE CARNOT", "04 78 37 ", "FRANÇOIS GIRAUD", "Quinzaine"),
    ("LABOREX CAMEROUN", "DOUALA", "CAMEROUN", "BP 483", "RUE JOSS", "+237 233 42 ", "JEAN-PAUL NGUEMA", "30Jours"),
    ("PHARMACIE DU FLEUVE", "BAMAKO", "MALI", "BP E 2100", "AVENUE DU FLEUVE", "+223 20 22 ", "AMINATA TRAORÉ", "Comptant"),
    ("PHARMACIE DE L'ESTUAIRE", "LIBREVILLE", "GABON", "BP 2150", "BOULEVARD TRIOMPHAL", "+241 01 72 ", "SYLVIE MBA", "30Jours"),
    ("PHARMACIE DU GRAND MARCHÉ", "LOME", "TOGO", "BP 1330", "RUE DU COMMERCE", "+228 22 21 ", "KOFFI AGBÉKO", ""),
    ("PHARMACIE JONQUET", "COTONOU", "BENIN", "01 BP 1178", "RUE JONQUET", "+229 21 31 ", "ROMUALD HOUNKPÈ", "Quinzaine"),
    ("PHARMACIE ACHRAFIEH", "BEYROUTH", "LIBAN", "2064 1102", "RUE MONOT", "+961 1 33 ", "GEORGES HADDAD", "30Jours"),
    ("AL NOOR MEDICAL SUPPLIES", "AMMAN", "JORDANIE", "11181", "KING ABDULLAH II STREET", "+962 6 55 ", "RAMI KHALIL", "Comptant"),
    ("GULF PHARMA DISTRIBUTION", "DUBAI", "EMIRATS ARABES UNIS", "PO BOX 5123", "AL QUOZ INDUSTRIAL AREA 3", "+971 4 34 ", "SAMEER RAHMAN", "30Jours"),
    ("PHARMACIE DE LA BOURSE", "BRUXELLES", "BELGIQUE", "1000", "BOULEVARD ANSPACH 85", "+32 2 511 ", "ANNE DUPONT", "30Jours"),
    ("PHARMACIE DU VIEUX PORT", "MARSEILLE", "FRANCE", "13001", "14 QUAI DU PORT", "04 91 90 ", "LAURENT ROUX", "Comptant"),
    ("DÉPÔT PHARMACEUTIQUE DE CONAKRY", "CONAKRY", "GUINEE", "BP 3006", "AVENUE DE LA RÉPUBLIQUE", "+224 30 41 ", "IBRAHIMA CAMARA", "30Jours"),
]

# Country names as the reference list holds them: the lookup upper-cases only
# the letters a to z, so the names are stored without accents, the way the
# desk types them in capitals (COTE D'IVOIRE, EMIRATS ARABES UNIS). The
# accented capital spellings are listed too, so a name typed in capitals with
# its accents is accepted as well.
COUNTRIES = [
    "FRANCE", "BELGIQUE", "SUISSE", "LUXEMBOURG", "ALLEMAGNE", "ESPAGNE", "ITALIE", "PORTUGAL",
    "ROYAUME-UNI", "SENEGAL", "SÉNÉGAL", "COTE D'IVOIRE", "CÔTE D'IVOIRE", "MALI", "BURKINA FASO", "NIGER",
    "GUINEE", "GUINÉE", "CAMEROUN", "GABON", "CONGO", "TOGO", "BENIN", "BÉNIN", "TCHAD", "MAURITANIE",
    "MADAGASCAR", "MAROC", "ALGERIE", "ALGÉRIE", "TUNISIE", "EGYPTE", "ÉGYPTE", "LIBAN", "JORDANIE", "SYRIE",
    "IRAK", "ARABIE SAOUDITE", "EMIRATS ARABES UNIS", "ÉMIRATS ARABES UNIS", "QATAR", "KOWEIT", "KOWEÏT",
    "HAITI", "HAÏTI",
]

FIRST_NAMES = ["JEAN", "MARIE", "AMINATA", "MOUSSA", "FATOU", "PIERRE", "SAMIR", "LEILA", "KOFFI", "AWA", "HÉLÈNE"]
LAST_NAMES = ["DIALLO", "MARTIN", "KONÉ", "HADDAD", "TRAORÉ", "DUBOIS", "NDIAYE", "MENSAH", "BERNARD", "SARR"]
TOWNS = [
    ("DAKAR", "SENEGAL", "+221 33 8"), ("ABIDJAN", "COTE D'IVOIRE", "+225 20 2"), ("PARIS", "FRANCE", "01 4"),
    ("LYON", "FRANCE", "04 7"), ("DOUALA", "CAMEROUN", "+237 233 4"), ("BAMAKO", "MALI", "+223 20 2"),
    ("BEYROUTH", "LIBAN", "+961 1 3"), ("AMMAN", "JORDANIE", "+962 6 5"), ("LOME", "TOGO", "+228 22 2"),
]

TERMS = ["30Jours", "Comptant", "Quinzaine", ""]


def cip_check_digit(six):
    total = sum(int(d) * w for d, w in zip(six, range(2, 8)))
    return str((total % 11) % 10)


def ean13(twelve):
    total = sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(twelve))
    return twelve + str((10 - total % 10) % 10)


def money(x):
    """Exactly two decimals with a comma, as the screens store amounts."""
    return ("%.2f" % (round(x * 100) / 100.0)).replace(".", ",")


def four(x):
    return ("%.4f" % x).replace(".", ",")


def plain(x):
    """The plain text of a double (up to 15 significant digits), comma decimal."""
    return ("%.15g" % x).replace(".", ",")


def at_most_two(x):
    """Rounded to at most two decimals, trailing zeros not added."""
    text = "%.15g" % x
    if "." in text and len(text.split(".")[1]) > 2:
        text = "%.2f" % x
    return text.replace(".", ",")


def write_table(path, fields, records):
    lines = [";".join(fields)]
    for rec in records:
        lines.append(";".join(rec))
    data = "".join(line + "\r\n" for line in lines)
    with open(path, "wb") as f:
        f.write(data.encode("cp1252"))


def make_articles(rng, n):
    codes = rng.sample(range(200000, 1000000), n)
    articles = []
    for i in range(n):
        six = "%06d" % codes[i]
        code = six + cip_check_digit(six)
        if i < len(CATALOGUE):
            name, mark = CATALOGUE[i]
        else:
            name = "%s %s %s %s" % (rng.choice(MOLECULES), rng.choice(DOSAGES), rng.choice(FORMS), rng.choice(PACKS))
            mark = ""
        achat = rng.randint(40, 4500) / 100.0
        coef = rng.randint(11000, 16000) / 10000.0
        vente = round(achat * coef * 100) / 100.0
        coef = vente / achat
        poids = rng.randint(15, 12000) / 10000.0
        barre = ean13("34009" + code) if rng.random() < 0.8 else ""
        articles.append({
            "Code": code, "Designation": name, "Prix Achat": money(achat), "Prix Vente": money(vente),
            "Coef": four(coef), "Poids": four(poids), "Code Barre": barre, "mark": mark,
            "vente": vente, "poids": poids,
        })
    return articles


def make_clients(rng, n):
    clients = []
    for i in range(n):
        code = "%04d" % (101 + i)
        if i < len(CLIENTS):
            societe, ville, pays, cp, adr, tel, contact, term = CLIENTS[i]
        else:
            ville, pays, tel = rng.choice(TOWNS)
            societe = "PHARMACIE %s %s" % (rng.choice(LAST_NAMES), i)
            cp = "BP %d" % rng.randint(100, 9999)
            adr = "%d AVENUE %s" % (rng.randint(1, 200), rng.choice(LAST_NAMES))
            tel = tel + "%d " % rng.randint(0, 9)
            contact = "%s %s" % (rng.choice(FIRST_NAMES), rng.choice(LAST_NAMES))
            term = rng.choice(TERMS)
        phone = tel + "%02d %02d" % (rng.randint(10, 99), rng.randint(10, 99))
        fax = tel + "%02d %02d" % (rng.randint(10, 99), rng.randint(10, 99))
        mobile = "+33 6 %02d %02d %02d %02d" % tuple(rng.randint(10, 99) for _ in range(4)) if pays == "FRANCE" else ""
        mail_name = "".join(c for c in societe.lower() if c.isascii() and c.isalnum())[:18]
        rec = {
            "Code": code, "Societe": societe, "Telephone": phone, "Fax": fax, "Portable": mobile,
            "Adresse 1": adr, "Adresse 2": "", "Adresse 3": "", "Ville": ville, "Pays": pays,
            "Imm. TVA": ("FR%011d" % rng.randint(10**9, 10**11)) if pays == "FRANCE" else "",
            "E-mail": "contact@%s.com" % mail_name, "Code postal": cp,
            "Societe livraison": societe, "Adresse 1 livraison": adr, "Adresse 2 livraison": "",
            "Adresse 3 livraison": "", "Code postal livraison": cp, "Ville livraison": ville,
            "Pays livraison": pays, "Echeance": term, "Contact": contact,
        }
        clients.append(rec)
    return clients


def make_pieces(rng, kind, n, first_number, articles, clients, start_day):
    """Headers and lines of n pieces of one kind, numbered from first_number."""
    prefix = {"Facture": "FA", "Devis": "DE", "Avoir": "AV"}[kind]
    pieces = []
    # Dates rise with the numbers over at most about three years, however
    # many pieces there are.
    span = min(2 * n, 1000)
    for i in range(n):
        number = prefix + str(first_number + i)
        client = rng.choice(clients)
        count = rng.randint(1, 8) if kind != "Avoir" else rng.randint(1, 3)
        chosen = rng.sample(articles, min(count, len(articles)))
        lines = []
        total = 0.0
        weight = 0.0
        for art in chosen:
            qty = rng.randint(1, 30) if kind != "Avoir" else rng.randint(1, 5)
            amount = round(qty * art["vente"] * 100) / 100.0
            total += amount
            weight += qty * art["poids"]
            lines.append([number, str(qty), art["Code"], art["Designation"], money(art["vente"]), money(amount)])
        port = 0.0 if kind == "Avoir" else rng.choice([0.0, 0.0, 15.0, 22.5, 35.0, 48.9])
        y, m, d = date_of(start_day + (i * span) // max(n, 1))
        header = {
            "number": number, "Date": "%02d/%02d/%04d" % (d, m, y), "Code client": client["Code"],
            "Societe": client["Societe"], "Port": plain(port), "Poids": plain(weight),
            "Total HT": money(total), "Total TTC": at_most_two(total + port), "lines": lines,
        }
        pieces.append(header)
    return pieces


def date_of(day):
    """Calendar date of a day number counted from 1 January 2025."""
    y = 2025
    while True:
        length = 366 if (y % 4 == 0 and (y % 100 != 0 or y % 400 == 0)) else 365
        if day < length:
            break
        day -= length
        y += 1
    months = [31, 29 if length == 366 else 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
    m = 0
    while day >= months[m]:
        day -= months[m]
        m += 1
    return y, m + 1, day + 1


def first_piece_number(kind, n):
    # Invoices sit just below the first number the numbering probes (31701),
    # quotes and credit notes at their usual sizes; big data sets start lower.
    if kind == "Facture":
        return max(1, 31702 - n)
    if kind == "Devis":
        return 1234 if n <= 8000 else 1
    return 123 if n <= 800 else 1


def write_pieces(data, kind, pieces, max_line_files):
    key = "Num " + kind
    folder = {"Facture": "Factures", "Devis": "Devis", "Avoir": "Avoirs"}[kind]
    table = {"Facture": "BaseDeDonneesFactures.db", "Devis": "BaseDeDonneesDevis.db",
             "Avoir": "BaseDeDonneesAvoirs.db"}[kind]
    if kind == "Avoir":
        fields = [key, "Date", "Code client", "Societe", "Total TTC"]
    else:
        fields = [key] + PIECE_HEADER_FIELDS
    records = []
    for p in pieces:
        values = dict(p)
        values[key] = p["number"]
        records.append([values[f] for f in fields])
    write_table(os.path.join(data, table), fields, records)
    for p in pieces[:max_line_files]:
        write_table(os.path.join(data, folder, p["number"] + ".db"), [key] + LINE_FIELDS, p["lines"])


# Public notes the sample statistics server keeps for some clients, by their
# position in the client list.
STATS_NOTES = {
    0: "Règlement à 30 jours fin de mois, relancer au 45e jour",
    1: "Livraison par transitaire uniquement (enlèvement à l'aéroport)",
    2: "Client historique : remise de 3 % sur les antalgiques",
    4: "Licence d'importation à joindre à chaque facture",
    9: "Prévenir avant expédition, fermé le dimanche",
    14: "Paiement comptant exigé depuis mars",
}


def write_stats_server(out, clients, articles, seed):
    """The answers of the sample statistics server (tools/stats_server): the
    possible duplicates of a client (the other clients of its country, and an
    old record with its telephone for the first client), public notes, and a
    count per article. Its own random sequence leaves the other files as they
    were."""
    rng = random.Random(seed + 7200)
    lines = [
        "# Serveur Stats de l'installation d'exemple (scripts/generate_data.py).",
        "# Doublons;<code client>;<doublon possible>   Notes Publiques;<code client>;<note>",
        "# Article;<code CIP>;<nombre de ventes>",
    ]
    for i, c in enumerate(clients):
        twins = [o for o in clients if o is not c and o["Pays"] == c["Pays"]]
        for o in twins[:3]:
            lines.append("Doublons;%s;%s   %s (%s, même pays)" % (c["Code"], o["Code"], o["Societe"], o["Ville"]))
        if i == 0:
            lines.append("Doublons;%s;Ancienne fiche %s, même téléphone %s" % (c["Code"], c["Societe"], c["Telephone"]))
        if i in STATS_NOTES:
            lines.append("Notes Publiques;%s;%s" % (c["Code"], STATS_NOTES[i]))
    for i, a in enumerate(articles):
        if i % 4 != 3:
            lines.append("Article;%s;%d" % (a["Code"], rng.choice([0, rng.randint(1, 40), rng.randint(40, 400)])))
    folder = os.path.join(out, "ServeurStats")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "ServeurStats.txt"), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp1252"))


def write_barcode_queue(out, articles):
    """The shared barcode table of the sample's server share, as another
    workstation queues barcodes: a new barcode for an article without one
    (copied at the first start, out of the queue at the second), one the
    article already carries (out at the first start), a code whose check digit
    is wrong and a barcode too short to be merged (both stay)."""
    without = [a for a in articles if not a["Code Barre"]]
    carrying = [a for a in articles if a["Code Barre"]]
    if len(without) < 2 or not carrying:
        return
    wrong = without[1]["Code"][:6] + str((int(without[1]["Code"][6]) + 1) % 10)
    records = [
        [without[0]["Code"], ean13("34009" + without[0]["Code"])],
        [carrying[0]["Code"], carrying[0]["Code Barre"]],
        [wrong, ean13("34009" + wrong)],
        [without[1]["Code"], "34009"],
    ]
    folder = os.path.join(out, "Serveur", "C$", "Quorix Server", "Data")
    os.makedirs(folder, exist_ok=True)
    write_table(os.path.join(folder, "BaseDeDonneesCodeBarre.db"), ["Code", "Code Barre"], records)


def generate(args):
    rng = random.Random(args.seed)
    data = os.path.join(args.out, "Data")
    for folder in FOLDERS:
        os.makedirs(os.path.join(data, folder), exist_ok=True)

    articles = make_articles(rng, args.articles)
    write_table(os.path.join(data, "BaseDeDonneeArticles.db"), ARTICLE_FIELDS,
                [[a[f] for f in ARTICLE_FIELDS] for a in articles])

    clients = make_clients(rng, args.clients)
    write_table(os.path.join(data, "BaseDeDonneesClients.db"), CLIENT_FIELDS,
                [[c[f] for f in CLIENT_FIELDS] for c in clients])

    max_files = args.max_line_files if args.max_line_files is not None else sys.maxsize
    if clients and articles:
        factures = make_pieces(rng, "Facture", args.factures, first_piece_number("Facture", args.factures),
                               articles, clients, 200)
        devis = make_pieces(rng, "Devis", args.devis, first_piece_number("Devis", args.devis), articles, clients, 260)
        avoirs = make_pieces(rng, "Avoir", args.avoirs, first_piece_number("Avoir", args.avoirs), articles, clients,
                             280)
    else:
        factures, devis, avoirs = [], [], []
    write_pieces(data, "Facture", factures, max_files)
    write_pieces(data, "Devis", devis, max_files)
    write_pieces(data, "Avoir", avoirs, max_files)

    codes = [c["Code"] for c in clients]
    write_table(os.path.join(data, "BaseDeDonneesDupli.db"), ["Code"], [[c] for c in codes[1:3]])
    write_table(os.path.join(data, "BaseDeDonneesNoFa.db"), ["Client"], [[c] for c in codes[3:5]])
    write_table(os.path.join(data, "BaseDeDonneesUbipharm.db"), ["Code"], [[c] for c in codes[0:len(codes):4]])

    steps = []
    for i in range(1, 61):
        weight = i / 2.0
        steps.append([plain(weight), str(int(18 + 4.5 * weight + (6 if weight > 10 else 0)))])
    write_table(os.path.join(data, "BaseDeDonneesTarifsChronopost.db"), ["Poids", "Tarif"], steps)

    write_stats_server(args.out, clients, articles, args.seed)
    write_barcode_queue(args.out, articles)

    write_table(os.path.join(data, "ListePays.db"), ["Nom Pays"], [[c] for c in COUNTRIES])
    write_table(os.path.join(data, "ListePsychotropes.db"), ["CIP Psychotrope"],
                [[a["Code"]] for a in articles if a["mark"] == "P"])
    write_table(os.path.join(data, "ListeStupefiants.db"), ["CIP Stupefiant"],
                [[a["Code"]] for a in articles if a["mark"] == "S"])

    # The barcode pictures of the last invoices and of the first quotes and
    # credit notes, and of the next five invoices the desk will create.
    barcoded = [p["number"] for p in factures[-12:] + devis[:5] + avoirs[:3]]
    if factures:
        last = int(factures[-1]["number"][2:])
        barcoded += ["FA%d" % n for n in range(last + 1, last + 6)]
    write_print_assets(data, barcoded)

    # The settings file in the layout the program writes back at close:
    # sections sorted by name, keys sorted within their section.
    positions = ["CurrentArticleListRow", "CurrentClientListRow", "CurrentFactureListRow", "CurrentDevisListRow",
                 "CurrentAvoirListRow", "CurrentArticleListTopRow", "CurrentClientListTopRow",
                 "CurrentFactureListTopRow", "CurrentDevisListTopRow", "CurrentAvoirListTopRow"]
    ini = ["[Connexion]", "   InformerIP = 127.0.0.1", "   InformerPort = 4590"]
    # The company's own intra-community VAT number, printed on its pieces.
    ini += ["[Entreprise]", "   NIdCEE = FR12812345678"]
    # The courier station's share is a folder beside Data (the run command
    # makes its "C$/Chronopost-Tampon" when it prepares the working folder).
    ini += ["[Partages]", "   StationChronopost = ./StationChronopost"]
    ini += ["[Positions]"] + ["   %s = 1" % key for key in sorted(positions)]
    with open(os.path.join(data, "parametres.ini"), "wb") as f:
        f.write("".join(line + "\r\n" for line in ini).encode("cp1252"))


def main():
    parser = argparse.ArgumentParser(description="Write a Quorix data folder (DIR/Data).")
    parser.add_argument("--out", required=True, help="installation folder; Data/ is written inside it")
    parser.add_argument("--articles", type=int, default=40)
    parser.add_argument("--clients", type=int, default=15)
    parser.add_argument("--factures", type=int, default=12)
    parser.add_argument("--devis", type=int, default=5)
    parser.add_argument("--avoirs", type=int, default=3)
    parser.add_argument("--max-line-files", type=int, default=None,
                        help="write line files only for the first N pieces of each kind (default: all)")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    for name in ("articles", "clients", "factures", "devis", "avoirs"):
        if getattr(args, name) < 0:
            parser.error("--%s must not be negative" % name)
    if args.articles > 800000:
        parser.error("--articles: at most 800000 distinct CIP codes can be generated")
    generate(args)


if __name__ == "__main__":
    main()
