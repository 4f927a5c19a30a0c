"""The print templates and pictures of a Quorix installation:
Data/Modeles/Modele*.ini, Data/Bitmaps/LogoEntete.bmp and LogoPiedDePage.bmp,
and the barcode pictures Data/Barcodes/Code Barre <n>.jpg of given pieces.

Used by generate_data.py; everything is drawn here in plain Python (no
imaging library), and the output depends only on the arguments.

Templates are in tenths of millimetres on an A4 sheet (2100 x 2970). A body
row is 5.5 mm high: 30 rows on a page without footer, 23 on the last page
(which carries the totals).
"""

import math
import os
import struct

COMPANY = "QUORIX PHARMA EXPORT"
COMPANY_LINES = [
    "Négoce international de produits pharmaceutiques",
    "12, rue de l'Entrepôt - 13002 Marseille - France",
    "Tél. +33 (0)4 91 00 00 00 - Fax +33 (0)4 91 00 00 01",
    "export@quorix-pharma.fr",
]
LEGAL = ("QUORIX PHARMA EXPORT S.A.S. au capital de 150 000 € - RCS Marseille 812 345 678 - "
         "Établissement pharmaceutique autorisé")

PIECES = {
    "Facture": "Num Facture",
    "Devis": "Num Devis",
    "Avoir": "Num Avoir",
}

# ---------------------------------------------------------------------------
# Templates


class Template:
    """A template being written: its families of numbered sections."""

    def __init__(self, avec_pied=None, sans_pied=None):
        self.general = [("PageSizeX", 2100), ("PageSizeY", 2970)]
        if avec_pied is not None:
            self.general += [("CorpsAvecPiedDePagey2", avec_pied), ("CorpsSansPiedDePagey2", sans_pied)]
        self.families = {"Entete": [], "Logo": [], "Corps": [], "PiedPage": []}

    def add(self, family, tag, kind, x1, x2, y1, y2=None, **keys):
        item = [("tag", tag), ("type", kind)]
        for key in ("Text", "DataCode", "filename", "fontSize", "color", "alignement"):
            if key in keys:
                item.append((key, keys.pop(key)))
        item += [("x1", x1), ("x2", x2), ("y1", y1)]
        if y2 is not None:
            item.append(("y2", y2))
        for key in ("x3", "y3", "variationX", "variationY"):
            if key in keys:
                item.append((key, keys.pop(key)))
        assert not keys, keys
        self.families[family].append(item)

    def text(self, family, text, x1, x2, y1, y2, size=9, color=None, align="left", tag="texte"):
        keys = {"Text": text, "fontSize": size, "alignement": align}
        if color:
            keys["color"] = color
        self.add(family, tag, "Text", x1, x2, y1, y2, **keys)

    def data(self, family, code, x1, x2, y1, y2, size=9, color=None, align="left", tag=None):
        keys = {"DataCode": code, "fontSize": size, "alignement": align}
        if color:
            keys["color"] = color
        self.add(family, tag or code, "Data", x1, x2, y1, y2, **keys)

    def line(self, family, x1, x2, y1, y2=None, tag="trait"):
        self.add(family, tag, "Line", x1, x2, y1, y2)

    def frame(self, family, x1, x2, y1, y2=None, corner=40, tag="cadre"):
        self.add(family, tag, "RoundRect", x1, x2, y1, y2, x3=corner, y3=corner)

    def image(self, key, x1, x2, y1, y2, tag="image"):
        self.add("Logo", tag, "Image", x1, x2, y1, y2, filename=key)

    def render(self):
        lines = ["[GeneralData]"] + ["   %s = %s" % kv for kv in self.general]
        for family in ("Entete", "Logo", "Corps", "PiedPage"):
            for i, item in enumerate(self.families[family], 1):
                lines.append("[%s%d]" % (family, i))
                lines += ["   %s = %s" % (k, v) for k, v in item]
        return "".join(line + "\r\n" for line in lines).encode("cp1252")


# Geometry shared by the piece documents.
LEFT, RIGHT = 150, 1950
TABLE_TOP, HEAD_BOTTOM, ROW_TOP, ROW = 890, 960, 975, 55
BODY_LONG, BODY_SHORT = 2650, 2270


def letterhead(t):
    """The company's letterhead, drawn by the templates "avec logo"."""
    t.image("LogoEnteteFilename", LEFT, 420, 110, 380, tag="logo")
    t.text("Entete", COMPANY, 450, 1200, 120, 200, size=16, color="clNavy", tag="societe")
    for i, line in enumerate(COMPANY_LINES):
        t.text("Entete", line, 450, 1200, 205 + 42 * i, 247 + 42 * i, size=8,
               color="clGray" if i == 0 else None, tag="adresse societe")
    t.line("Entete", LEFT, RIGHT, 2700, 2700, tag="pied de page")
    t.text("Entete", LEGAL, LEFT, RIGHT, 2710, 2750, size=6, color="clGray", align="center", tag="mentions")
    t.image("LogoPiedDePageFilename", LEFT, 750, 2790, 2830, tag="logo pied de page")


def piece_box(t, title, prefixes, with_due_date=True):
    """The framed title of the document with its number, date, client code and due date."""
    t.frame("Entete", 1250, RIGHT, 110, 420, corner=60, tag="cadre document")
    t.text("Entete", title, 1250, RIGHT, 125, 215, size=20 if len(title) < 12 else 15, color="clNavy",
           align="center", tag="titre")
    t.line("Entete", 1290, 1910, 225, 225, tag="trait titre")
    rows = [("N° :", "K", 10), ("Date :", "Date", 9), ("Code client :", "NumClient", 9)]
    if with_due_date:
        rows.append(("Échéance :", "Echeance", 9))
    for i, (label, key, size) in enumerate(rows):
        y = 235 + 45 * i
        t.text("Entete", label, 1290, 1560, y, y + 45, size=9, tag="libelle")
        # Order forms and preparation sheets serve every kind of piece: the
        # keys of the other kinds are absent and draw nothing.
        for prefix in prefixes:
            code = prefix + "." + (PIECES[prefix] if key == "K" else key)
            t.data("Entete", code, 1560, 1910, y, y + 45, size=size, align="right")


def client_block(t, prefixes, vat=True):
    t.frame("Entete", 1100, RIGHT, 470, 860, corner=40, tag="cadre client")
    t.text("Entete", "Destinataire", 1130, 1500, 478, 515, size=7, color="clGray", tag="libelle client")
    for prefix in prefixes:
        t.data("Entete", prefix + ".NomPharmacie", 1130, 1930, 518, 575, size=11, tag="client")
    for i in range(1, 7):
        y = 578 + 45 * (i - 1)
        t.data("Entete", "Client.adr%d" % i, 1130, 1930, y, y + 45, size=9, tag="adresse client")
    if vat:
        # The numbers start well after the labels: the preview draws texts
        # larger than the paper does.
        t.text("Entete", "N° TVA intracommunautaire :", LEFT, 720, 470, 510, size=8, tag="tva societe")
        t.data("Entete", "NIdCEE", 730, 1090, 470, 510, size=8)
        t.text("Entete", "N° TVA client :", LEFT, 720, 515, 555, size=8, tag="tva client")
        t.data("Entete", "Client.VIdCEE", 730, 1090, 515, 555, size=8)


def lines_table(t, columns):
    """The table of lines: column titles on every page, one text per row and
    column, then the frame and the column separators, which run down to the
    end of the body of each page."""
    x = LEFT
    t.line("Entete", LEFT, RIGHT, HEAD_BOTTOM, HEAD_BOTTOM, tag="trait titres colonnes")
    for title, code, width, align in columns:
        t.text("Entete", title, x + 15, x + width - 15, TABLE_TOP + 8, HEAD_BOTTOM - 5, size=8,
               color="clNavy", align="center" if align == "left" else align, tag="titre colonne")
        t.add("Corps", "lignes " + code, "MultiData", x + 15, x + width - 15, ROW_TOP, ROW_TOP + ROW,
              DataCode=code, fontSize=9, alignement=align, variationX=0, variationY=ROW)
        x += width
    assert x == RIGHT, x
    t.frame("Corps", LEFT, RIGHT, TABLE_TOP, corner=30, tag="cadre lignes")
    x = LEFT
    for _, _, width, _ in columns[:-1]:
        x += width
        t.line("Corps", x, x, TABLE_TOP, tag="separateur colonnes")


def page_number(t, prefixes, document):
    t.text("Entete", document, LEFT, 450, 2850, 2895, size=8, tag="reference")
    for prefix in prefixes:
        t.data("Entete", prefix + "." + PIECES[prefix], 450, 900, 2850, 2895, size=8)
    t.text("Entete", "Page", 1560, 1830, 2850, 2895, size=8, align="right", tag="page")
    t.data("Entete", "Page", 1845, RIGHT, 2850, 2895, size=8)


PRICED_COLUMNS = [
    ("Code", ".Code", 200, "left"),
    ("Désignation", ".Designation", 940, "left"),
    ("Qté", ".Quantite", 150, "right"),
    ("P.U. TTC", ".Prix Uni. TTC", 250, "right"),
    ("Montant TTC", ".Montant TTC", 260, "right"),
]


def totals(t, prefix, with_port=True):
    top = BODY_SHORT + 30
    rows = ([("Total HT", "Total HT"), ("Port", "Port")] if with_port else [])
    height = 60 * len(rows) + 80
    t.frame("PiedPage", 1290, RIGHT, top, top + height, corner=30, tag="cadre totaux")
    y = top + 10
    for label, key in rows:
        t.text("PiedPage", label, 1310, 1640, y, y + 50, size=9, tag="libelle total")
        t.data("PiedPage", prefix + "." + key, 1640, 1930, y, y + 50, size=9, align="right")
        y += 60
    if rows:
        t.line("PiedPage", 1310, 1930, y - 5, y - 5, tag="trait total")
    t.text("PiedPage", "Total TTC", 1310, 1640, y + 5, y + 65, size=11, color="clNavy", tag="libelle total")
    t.data("PiedPage", prefix + ".Total TTC", 1640, 1930, y + 5, y + 65, size=11, color="clNavy", align="right")


def notes(t, lines, top=BODY_SHORT + 30):
    for i, (text, size) in enumerate(lines):
        t.text("PiedPage", text, LEFT, 1250, top + 45 * i, top + 45 * (i + 1), size=size, tag="conditions")


def piece_template(kind, title, with_logo):
    t = Template(BODY_SHORT, BODY_LONG)
    if with_logo:
        letterhead(t)
    avoir = kind == "Avoir"
    piece_box(t, title, [kind], with_due_date=not avoir)
    client_block(t, [kind])
    lines_table(t, PRICED_COLUMNS)
    totals(t, kind, with_port=not avoir)
    if kind == "Facture":
        notes(t, [("Conditions de paiement", 9),
                  ("Règlement par virement à réception de la facture,", 7),
                  ("au plus tard à la date d'échéance ci-dessus.", 7),
                  ("Pénalités de retard : trois fois le taux d'intérêt légal.", 7),
                  ("Indemnité forfaitaire pour frais de recouvrement : 40 €.", 7),
                  ("Prix en euros, le port est compris dans le Total TTC.", 7)])
    elif kind == "Devis":
        notes(t, [("Conditions", 9),
                  ("Devis valable 30 jours à compter de sa date.", 7),
                  ("Prix en euros, port compris dans le Total TTC, sous réserve", 7),
                  ("de disponibilité des produits à la commande.", 7),
                  ("Bon pour accord, date et signature :", 8)])
    else:
        notes(t, [("Avoir", 9),
                  ("Montant à déduire de votre prochain règlement", 7),
                  ("ou remboursé sur simple demande.", 7)])
    page_number(t, [kind], title.capitalize())
    return t


def order_form():
    t = Template(BODY_SHORT, BODY_LONG)
    letterhead(t)
    kinds = list(PIECES)
    piece_box(t, "BON DE COMMANDE", kinds, with_due_date=False)
    client_block(t, kinds)
    lines_table(t, PRICED_COLUMNS)
    top = BODY_SHORT + 30
    t.frame("PiedPage", 1290, RIGHT, top, top + 100, corner=30, tag="cadre total")
    t.text("PiedPage", "Total TTC", 1310, 1640, top + 20, top + 80, size=11, color="clNavy")
    for kind in kinds:
        t.data("PiedPage", kind + ".Total TTC", 1640, 1930, top + 20, top + 80, size=11, color="clNavy",
               align="right")
    notes(t, [("Bon pour commande", 9),
              ("Merci de nous retourner ce bon daté, signé et revêtu de votre cachet.", 7)])
    t.frame("PiedPage", LEFT, 1200, top + 110, top + 360, corner=30, tag="cadre signature")
    t.text("PiedPage", "Date, cachet et signature du client", LEFT + 20, 1180, top + 115, top + 160, size=7,
           color="clGray")
    page_number(t, kinds, "Commande")
    return t


def preparation_sheet():
    t = Template(BODY_SHORT, BODY_LONG)
    kinds = list(PIECES)
    t.text("Entete", "BON DE PRÉPARATION", LEFT, 1100, 120, 220, size=18, color="clNavy", tag="titre")
    t.text("Entete", "Document interne - ne pas joindre au colis", LEFT, 1100, 220, 265, size=8, color="clGray")
    rows = [("Pièce :", "K"), ("Date :", "Date"), ("Code client :", "NumClient")]
    for i, (label, key) in enumerate(rows):
        y = 290 + 50 * i
        t.text("Entete", label, LEFT, 420, y, y + 50, size=10)
        for kind in kinds:
            code = kind + "." + (PIECES[kind] if key == "K" else key)
            t.data("Entete", code, 420, 1000, y, y + 50, size=12 if key == "K" else 10)
    t.image("CodeBarreFilename", 1250, RIGHT, 110, 380, tag="code barre")
    t.frame("Entete", 1100, RIGHT, 470, 860, corner=40, tag="cadre client")
    t.text("Entete", "Client", 1130, 1500, 478, 515, size=7, color="clGray")
    for kind in kinds:
        t.data("Entete", kind + ".NomPharmacie", 1130, 1930, 518, 575, size=11)
    for i in range(1, 7):
        y = 578 + 45 * (i - 1)
        t.data("Entete", "Client.adr%d" % i, 1130, 1930, y, y + 45, size=9)
    lines_table(t, [("Code", ".Code", 220, "left"), ("Désignation", ".Designation", 1080, "left"),
                    ("Quantité", ".Quantite", 200, "right"), ("Contrôle", ".Controle", 300, "center")])
    top = BODY_SHORT + 40
    for i, text in enumerate(["Préparé par : ..................................",
                              "Contrôlé par : ..................................",
                              "Nombre de colis : ..........     Poids total : .......... kg"]):
        t.text("PiedPage", text, LEFT, 1400, top + 70 * i, top + 70 * (i + 1), size=10, tag="controle")
    page_number(t, kinds, "Préparation")
    return t


def field_rows(t, rows, x_label, x_value, x_end, top, step=55):
    for i, (label, code) in enumerate(rows):
        y = top + step * i
        t.text("Entete", label, x_label, x_value - 20, y, y + step, size=9, color="clGray")
        t.data("Entete", code, x_value, x_end, y, y + step, size=10)


def sheet_heading(t, title):
    # The jobs of the record sheets give no picture keys: the heading is text.
    t.text("Entete", COMPANY, LEFT, 1200, 120, 200, size=14, color="clNavy")
    t.text("Entete", COMPANY_LINES[0], LEFT, 1200, 200, 245, size=8, color="clGray")
    t.text("Entete", COMPANY_LINES[1], LEFT, 1200, 245, 290, size=8)
    t.frame("Entete", 1250, RIGHT, 110, 300, corner=60)
    t.text("Entete", title, 1250, RIGHT, 110, 300, size=18, color="clNavy", align="center", tag="titre")
    t.line("Entete", LEFT, RIGHT, 2800, 2800)
    t.text("Entete", "Document à usage interne", LEFT, RIGHT, 2810, 2860, size=7, color="clGray", align="center")


def client_sheet():
    t = Template()
    sheet_heading(t, "FICHE CLIENT")
    t.frame("Entete", LEFT, RIGHT, 400, 960, tag="cadre coordonnees")
    t.text("Entete", "Coordonnées", LEFT + 30, 800, 410, 460, size=10, color="clNavy")
    field_rows(t, [("Code client", "Client.Code"), ("Société", "Client.Societe"), ("Contact", "Client.Contact"),
                   ("Téléphone", "Client.Telephone"), ("Fax", "Client.Fax"), ("Portable", "Client.Portable"),
                   ("E-mail", "Client.E-mail"), ("N° TVA intracom.", "Client.Imm. TVA")],
               LEFT + 40, 600, 1900, 470)
    t.frame("Entete", LEFT, 1030, 1020, 1500, tag="cadre facturation")
    t.text("Entete", "Adresse de facturation", LEFT + 30, 1000, 1030, 1080, size=10, color="clNavy")
    for i in range(1, 6):
        y = 1090 + 55 * (i - 1)
        t.data("Entete", "Client.Adresse %d" % i, LEFT + 40, 1010, y, y + 55, size=10)
    t.frame("Entete", 1070, RIGHT, 1020, 1500, tag="cadre livraison")
    t.text("Entete", "Adresse de livraison", 1100, RIGHT, 1030, 1080, size=10, color="clNavy")
    for i, code in enumerate(["Client.Societe livraison", "Client.Adresse 1 livraison",
                              "Client.Adresse 2 livraison", "Client.Adresse 3 livraison",
                              "Client.Code postal livraison", "Client.Ville livraison",
                              "Client.Pays livraison"]):
        y = 1090 + 55 * i
        t.data("Entete", code, 1110, 1930, y, y + 55, size=10)
    return t


def article_sheet():
    t = Template()
    sheet_heading(t, "FICHE ARTICLE")
    t.frame("Entete", LEFT, RIGHT, 400, 1000, tag="cadre article")
    t.data("Entete", "Article.Designation", LEFT + 40, 1900, 430, 520, size=14, color="clNavy")
    t.line("Entete", LEFT + 40, 1900, 530, 530)
    field_rows(t, [("Code CIP", "Article.CIP"), ("Code barre (EAN 13)", "Article.CodeBarre"),
                   ("Prix de vente TTC", "Article.PrixVente"), ("Prix d'achat", "Article.PrixAchat"),
                   ("Coefficient", "Article.Coef"), ("Poids unitaire (kg)", "Article.Poids")],
               LEFT + 40, 700, 1900, 560, step=65)
    return t


def templates():
    return {
        "ModeleFacture.ini": piece_template("Facture", "FACTURE", False),
        "ModeleFactureAvecLogo.ini": piece_template("Facture", "FACTURE", True),
        "ModeleDevis.ini": piece_template("Devis", "DEVIS", False),
        "ModeleDevisAvecLogo.ini": piece_template("Devis", "DEVIS", True),
        "ModeleAvoir.ini": piece_template("Avoir", "AVOIR", False),
        "ModeleAvoirAvecLogo.ini": piece_template("Avoir", "AVOIR", True),
        "ModeleCommande.ini": order_form(),
        "ModeleBonDePreparation.ini": preparation_sheet(),
        "ModeleClient.ini": client_sheet(),
        "ModeleArticle.ini": article_sheet(),
    }


# ---------------------------------------------------------------------------
# Bitmaps (8 bits per pixel with a palette)

NAVY = (0, 45, 110)
GREEN = (0, 150, 70)
SKY = (90, 160, 220)
WHITE = (255, 255, 255)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def palette():
    """White to each ink, and navy to green, in 64 steps each."""
    colours = []
    for a, b in ((WHITE, NAVY), (WHITE, GREEN), (WHITE, SKY), (NAVY, GREEN)):
        colours += [mix(a, b, i / 63) for i in range(64)]
    return colours


def nearest(colours, rgb, cache):
    if rgb not in cache:
        cache[rgb] = min(range(len(colours)),
                         key=lambda i: sum((colours[i][k] - rgb[k]) ** 2 for k in range(3)))
    return cache[rgb]


def write_bmp8(path, width, height, shade):
    """shade(x, y) gives the colour of a point; each pixel averages 3 x 3 points."""
    colours = palette()
    cache = {}
    stride = (width + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            acc = [0, 0, 0]
            for sy in range(3):
                for sx in range(3):
                    c = shade(x + (sx + 0.5) / 3, y + (sy + 0.5) / 3)
                    for k in range(3):
                        acc[k] += c[k]
            rgb = tuple(int(round(v / 9 / 4)) * 4 for v in acc)
            row[x] = nearest(colours, rgb, cache)
        rows.append(bytes(row))
    pixels = b"".join(rows)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 3780, 3780, len(colours), 0)
    with open(path, "wb") as f:
        f.write(header + info + pal + pixels)


def logo_entete(x, y):
    """A navy disc crossed by a sky-blue orbit, with a green pharmacy cross."""
    cx = cy = 80
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    cross = (abs(dx) < 14 and abs(dy) < 44) or (abs(dy) < 14 and abs(dx) < 44)
    cross_edge = (abs(dx) < 19 and abs(dy) < 49) or (abs(dy) < 19 and abs(dx) < 49)
    if cross:
        return GREEN
    if cross_edge and r < 72:
        return WHITE
    # The orbit: a tilted ellipse ring around the disc.
    a = math.radians(-25)
    ex, ey = dx * math.cos(a) - dy * math.sin(a), dx * math.sin(a) + dy * math.cos(a)
    e = math.hypot(ex / 78, ey / 30)
    if 0.93 < e < 1.04 and not (r < 72 and ey < 0):
        return SKY
    if r < 68:
        return NAVY
    if r < 72:
        return WHITE
    return WHITE


def logo_pied(x, y):
    """A navy rule over a green wave, with small crosses at each end."""
    w, h = 600, 40
    if 2 <= y < 6:
        return NAVY
    wave = 24 + 7 * math.sin(x / w * 6 * math.pi)
    if abs(y - wave) < 2.2:
        return GREEN
    for cx in (20, w - 20):
        if (abs(x - cx) < 3 and abs(y - 24) < 10) or (abs(y - 24) < 3 and abs(x - cx) < 10):
            return GREEN
    return WHITE


# ---------------------------------------------------------------------------
# Barcode pictures: Code 39 of the piece number, as a baseline grey JPEG.

CODE39 = {
    "0": "nnnwwnwnn", "1": "wnnwnnnnw", "2": "nnwwnnnnw", "3": "wnwwnnnnn", "4": "nnnwwnnnw",
    "5": "wnnwwnnnn", "6": "nnwwwnnnn", "7": "nnnwnnwnw", "8": "wnnwnnwnn", "9": "nnwwnnwnn",
    "A": "wnnnnwnnw", "B": "nnwnnwnnw", "C": "wnwnnwnnn", "D": "nnnnwwnnw", "E": "wnnnwwnnn",
    "F": "nnwnwwnnn", "G": "nnnnnwwnw", "H": "wnnnnwwnn", "I": "nnwnnwwnn", "J": "nnnnwwwnn",
    "K": "wnnnnnnww", "L": "nnwnnnnww", "M": "wnwnnnnwn", "N": "nnnnwnnww", "O": "wnnnwnnwn",
    "P": "nnwnwnnwn", "Q": "nnnnnnwww", "R": "wnnnnnwwn", "S": "nnwnnnwwn", "T": "nnnnwnwwn",
    "U": "wwnnnnnnw", "V": "nwwnnnnnw", "W": "wwwnnnnnn", "X": "nwnnwnnnw", "Y": "wwnnwnnnn",
    "Z": "nwwnwnnnn", "-": "nwnnnnwnw", "*": "nwnnwnwnn",
}


def code39_modules(text, narrow=2, wide=5):
    """The bars of the text as a list of (is_bar, width) modules."""
    out = []
    for i, ch in enumerate("*" + text + "*"):
        for j, kind in enumerate(CODE39[ch]):
            out.append((j % 2 == 0, wide if kind == "w" else narrow))
        if i < len(text) + 1:
            out.append((False, narrow))
    return out


ZIGZAG = [0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13,
          6, 7, 14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38,
          31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63]
LUMA_QUANT = [16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55, 14, 13, 16, 24, 40, 57, 69, 56,
              14, 17, 22, 29, 51, 87, 80, 62, 18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113,
              92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99]
DC_BITS = [0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0]
DC_VALUES = list(range(12))
AC_BITS = [0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D]
AC_VALUES = [
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71,
    0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23, 0x42, 0xB1, 0xC1, 0x15, 0x52, 0xD1, 0xF0, 0x24, 0x33, 0x62, 0x72,
    0x82, 0x09, 0x0A, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x34, 0x35, 0x36, 0x37,
    0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59,
    0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3,
    0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3,
    0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2,
    0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA,
]


def huffman_codes(bits, values):
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            codes[values[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def write(self, value, length):
        for i in range(length - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.n += 1
            if self.n == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0)
                self.acc = self.n = 0

    def flush(self):
        while self.n:
            self.write(1, 1)
        return bytes(self.out)


def magnitude(v):
    cat = abs(v).bit_length()
    return cat, (v if v >= 0 else v + (1 << cat) - 1)


def jpeg_grey(width, height, pixel, quality=85):
    """A baseline JPEG of one grey component, standard tables."""
    scale = 5000 / quality if quality < 50 else 200 - 2 * quality
    quant = [min(255, max(1, int((q * scale + 50) // 100))) for q in LUMA_QUANT]
    cos = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]
    c = [1 / math.sqrt(2)] + [1.0] * 7
    dc_codes, ac_codes = huffman_codes(DC_BITS, DC_VALUES), huffman_codes(AC_BITS, AC_VALUES)
    bits = BitWriter()
    previous_dc = 0
    for by in range(0, height, 8):
        for bx in range(0, width, 8):
            block = [[pixel(min(bx + x, width - 1), min(by + y, height - 1)) - 128 for x in range(8)]
                     for y in range(8)]
            rows = [[sum(block[y][x] * cos[u][x] for x in range(8)) for u in range(8)] for y in range(8)]
            coef = [0] * 64
            for v in range(8):
                for u in range(8):
                    s = sum(rows[y][u] * cos[v][y] for y in range(8))
                    coef[v * 8 + u] = int(round(0.25 * c[u] * c[v] * s / quant[v * 8 + u]))
            zz = [coef[i] for i in ZIGZAG]
            cat, value = magnitude(zz[0] - previous_dc)
            previous_dc = zz[0]
            bits.write(*dc_codes[cat])
            bits.write(value, cat)
            run = 0
            for k in range(1, 64):
                if zz[k] == 0:
                    run += 1
                    continue
                while run > 15:
                    bits.write(*ac_codes[0xF0])
                    run -= 16
                cat, value = magnitude(zz[k])
                bits.write(*ac_codes[(run << 4) | cat])
                bits.write(value, cat)
                run = 0
            if run:
                bits.write(*ac_codes[0x00])
    data = bits.flush()

    def segment(marker, payload):
        return struct.pack(">HH", marker, len(payload) + 2) + payload

    out = b"\xFF\xD8"
    out += segment(0xFFE0, b"JFIF\x00\x01\x01\x01\x00\x96\x00\x96\x00\x00")
    out += segment(0xFFDB, b"\x00" + bytes(quant[i] for i in ZIGZAG))
    out += segment(0xFFC0, struct.pack(">BHHB", 8, height, width, 1) + b"\x01\x11\x00")
    out += segment(0xFFC4, b"\x00" + bytes(DC_BITS) + bytes(DC_VALUES) + b"\x10" + bytes(AC_BITS) + bytes(AC_VALUES))
    out += segment(0xFFDA, b"\x01\x01\x00\x00\x3F\x00")
    return out + data + b"\xFF\xD9"


def write_barcode(path, text):
    modules = code39_modules(text)
    quiet = 16
    width = sum(w for _, w in modules) + 2 * quiet
    width = (width + 7) // 8 * 8
    height = 64
    bars = bytearray(width)
    x = quiet
    for is_bar, w in modules:
        if is_bar:
            for i in range(x, x + w):
                bars[i] = 1
        x += w
    with open(path, "wb") as f:
        f.write(jpeg_grey(width, height, lambda px, py: 0 if bars[px] and 4 <= py < height - 4 else 255))


def barcode_number(piece):
    """The number in a barcode picture's name: the piece number's digits less 29000
    (0 when they are not an integer text, as the program reads them)."""
    digits = piece[2:]
    value = int(digits) if digits.isdigit() and (digits == "0" or not digits.startswith("0")) else 0
    return value - 29000


# ---------------------------------------------------------------------------


def write_print_assets(data, pieces):
    """Writes the templates and the two logos under data, and a barcode picture
    for each piece number given."""
    for folder in ("Modeles", "Bitmaps", "Barcodes"):
        os.makedirs(os.path.join(data, folder), exist_ok=True)
    for name, template in templates().items():
        with open(os.path.join(data, "Modeles", name), "wb") as f:
            f.write(template.render())
    write_bmp8(os.path.join(data, "Bitmaps", "LogoEntete.bmp"), 160, 160, logo_entete)
    write_bmp8(os.path.join(data, "Bitmaps", "LogoPiedDePage.bmp"), 600, 40, logo_pied)
    for piece in pieces:
        write_barcode(os.path.join(data, "Barcodes", "Code Barre %d.jpg" % barcode_number(piece)), piece)
