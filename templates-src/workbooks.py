"""The workbook templates: payment statement, single disposition, the county agency's
annexes, the supplier and treasury annexes and the three control lists.

The program fills them by cell: a text such as [JUDET] or #Judet anywhere on a sheet is
replaced by a value; the row holding "#DBF" is the data row, repeated once per record
and filled from its "#COLUMN" and "%NRCRT" cells; some reports write counts straight into
fixed cells of a grid. Those cells, rows and sheet names are what the program relies on;
everything else (titles, widths, borders, page setup) is presentation.

Totals under a data row sum that single row (for example =SUM(E5:E5)): when the program
inserts the copies of the data row, every range that ends on it grows with them.
"""

from xlsgen import Sheet, Workbook, col_letters, col_index

BRACKETS = ["0-200", "200,1-320", "320,1-440", "440,1-560", "560,1-680", "680,1-920",
            "920,1-1040", "1040,1-1160", "1160,1-1280", "1280,1-1386", "1280,1-2053"]
PERCENTS = [100, 90, 80, 70, 60, 50, 40, 30, 20, 10, 10]
MONTHS = ["Ianuarie", "Februarie", "Martie", "Aprilie", "Mai", "Iunie", "Iulie",
          "August", "Septembrie", "Octombrie", "Noiembrie", "Decembrie"]


def data_row(sh, row, markers, dbf_col, styles=None):
    """Writes the data row: markers from column A on, "#DBF" in dbf_col."""
    for i, m in enumerate(markers):
        if m is None:
            continue
        style = (styles or {}).get(m, "cell")
        sh.set(col_letters(i + 1) + str(row), m, style)
    sh.set(dbf_col + str(row), "#DBF", "marker")
    # Room for an address or a name on two lines; the copies keep the height.
    if row not in sh.heights:
        sh.height(row, 0.85)


def border_blank(sh, row, first, last, style="cell"):
    """Bordered empty cells where the data row has no marker."""
    for c in range(col_index(first), col_index(last) + 1):
        ref = col_letters(c) + str(row)
        if sh.value(ref) is None:
            sh.set(ref, "", style)


def headers(sh, row, titles, style="hdr", height=1.6):
    for i, t in enumerate(titles):
        if t is not None:
            sh.set(col_letters(i + 1) + str(row), t, style)
    sh.height(row, height)


def numbering(sh, row, count):
    """A row of column numbers under the titles, written as text so no sum counts it."""
    for i in range(count):
        sh.set(col_letters(i + 1) + str(row), str(i + 1), "hnum")


NUMERIC = {"#NR_MEMBRI": "int", "#NR_LUNI": "int", "#CUANTUM": "int", "#VENITM": "num",
           "#VALMAX": "num", "#SUMAL": "num", "#SUMAG": "num", "#SUMAE": "num",
           "#SUMAT": "num", "#SUMA": "num", "#NRPERS": "int", "#TVENIT": "num",
           "#VENIT": "num", "#DATADISP": "date", "%NRCRT": "ccell", "#CNP": "ccell",
           "#NRDISP": "ccell", "#NR_DISP": "ccell", "#AN": "ccell", "#LUNA": "ccell",
           "#NRCAM": "int", "#CODCLT": "ccell", "#CODCLG": "ccell", "#CODCLE": "ccell",
           "#PODG": "ccell", "#PODE": "ccell", "#JUD": "ccell"}


# ----- payment statement -------------------------------------------------------------

def _stat_sheet(name, subject, kind):
    widths = {"A": 1.0, "B": 4.8, "C": 2.9, "D": 1.5, "E": 2.0, "F": 5.2, "G": 2.1,
              "H": 2.1, "I": 2.0, "J": 2.0, "K": 2.0, "L": 2.0, "M": 2.2, "N": 2.6,
              "O": 1.2}
    sh = Sheet(name, landscape=True, widths=widths, title_rows=(8, 10))
    sh.set("A1", "R O M A N I A", "bold")
    sh.set("A2", "#Judet", "bold")
    sh.set("A3", "#Primaria", "bold")
    last = {"cumulat": "N", "ajutoare": "I", "suplimente": "L"}[kind]
    sh.set("A4", "SITUATIE PLATI", "title", span=last + "4", height=0.7)
    sh.set("A5", subject, "bcenter", span=last + "5", height=0.6)
    sh.set("A6", "#Luna", "bcenter", span=last + "6")
    for ref, text in (("A8", "Nr. crt."), ("B8", "Beneficiarul ajutorului"), ("C8", "CNP"),
                      ("F8", "Adresa beneficiarului")):
        sh.set(ref, text, "hdr", span=ref[0] + "10")
    sh.set("D8", "Numar dispozitie primar", "hdr", span="E9")
    sh.set("D10", "nr.", "hdr")
    sh.set("E10", "data", "hdr")
    sh.height(8, 0.9)
    sh.height(9, 2.0)
    sh.height(10, 0.5)
    markers = ["%NRCRT", "#Titular", "#CNP", "#NRDISP", "#DATADISP", "#ADRESA"]
    supp_titles = ["Combustibili solizi/petrolieri", "Gaze naturale", "Energie termica",
                   "Energie electrica"]
    supp_markers = ["#SUMAL", "#SUMAG", "#SUMAT", "#SUMAE"]
    if kind in ("cumulat", "ajutoare"):
        g_title = ("Compensare procentuala" if kind == "cumulat" else
                   "Cuantumul lunar al ajutorului stabilit prin dispozitia primarului")
        sh.set("G8", g_title, "hdr", span="G9")
        sh.set("G10", "%", "hdr")
        sh.set("H8", "Perioada pentru care se acorda ajutorul", "hdr", span="H9")
        sh.set("H10", "luni", "hdr")
        markers += ["#CUANTUM", "#NR_LUNI"]
    if kind == "ajutoare":
        sh.set("I8", "SEMNATURA", "hdr", span="I10")
        data_row(sh, 11, markers + [""], "J", NUMERIC)
    else:
        # Four supplement columns from `first`, the row's total, the signature column,
        # then "#DBF"; a general total row under the data row.
        first = 9 if kind == "cumulat" else 7
        cols = [col_letters(first + i) for i in range(7)]
        sh.set(cols[0] + "8", "Suplimente pentru energie", "hdr", span=cols[3] + "8")
        for c, t in zip(cols, supp_titles):
            sh.set(c + "9", t, "hdr")
            sh.set(c + "10", "lei", "hdr")
        sh.set(cols[4] + "8", "TOTAL VALOARE SUPLIMENTE" if kind == "cumulat"
               else "TOTAL VALOARE ACORDATA", "hdr", span=cols[4] + "9")
        sh.set(cols[4] + "10", "lei", "hdr")
        sh.set(cols[5] + "8", "SEMNATURA", "hdr", span=cols[5] + "10")
        row_sum = "=SUM(%s11:%s11)" % (cols[0], cols[3])
        data_row(sh, 11, markers + supp_markers + [row_sum, ""], cols[6],
                 {**NUMERIC, row_sum: "num"})
        sh.set("F12", "TOTAL GENERAL", "tlabel")
        for c in cols[:5]:
            sh.set(c + "12", "=SUM(%s11:%s11)" % (c, c), "tnum")
        border_blank(sh, 12, "A", cols[5], "tlabel")
    sh.set("E15", "#P1", "sig")
    sh.set("E16", "#PRIMAR", "signame")
    sh.set("H15", "#C1", "sig")
    sh.set("H16", "#C2", "signame")
    sh.set("G18", "#I1", "sig")
    sh.set("G19", "#I2", "signame")
    return sh


def stat():
    return Workbook([
        _stat_sheet("Cumulat", "privind plata ajutorului pentru încălzirea locuinței și a "
                    "suplimentului pentru energie", "cumulat"),
        _stat_sheet("Ajutoare", "privind plata ajutorului pentru încălzirea locuinței",
                    "ajutoare"),
        _stat_sheet("Suplimente", "privind plata suplimentului pentru energie",
                    "suplimente"),
    ])


# ----- single disposition ------------------------------------------------------------

def stabilire_u():
    d = Sheet("Dispozitie", widths={"A": 1.4, "B": 2.2, "C": 2.2, "D": 1.6, "E": 1.6,
                                    "F": 1.6, "G": 1.6, "H": 1.6, "I": 1.6, "J": 2.4})
    d.set("A1", "ROMÂNIA", "bold")
    d.set("C2", "JUDEȚUL [JUDET]", "bold", span="J2")
    d.set("C3", "UAT [Loc]", "bold", span="J3")
    d.set("C4", "PRIMAR: [PRIMAR]", "bold", span="J4")
    d.set("A5", "DISPOZIȚIA", "title", span="J5", height=0.7)
    d.set("E6", "nr. [DispNr] din [DispData]", "bold", span="H6")
    d.set("A8", "privind acordarea ajutorului pentru încălzirea locuinței și a suplimentului "
          "pentru energie familiilor și persoanelor singure din [TipLoc] [Loc], pentru "
          "perioada sezonului rece [Perioada]", "bcenter", span="J8", height=1.3)
    d.set("A9", "(cereri depuse în luna [Luna] anul [Anul])", "center", span="J9")
    recitals = [
        "Având în vedere cererile și declarațiile pe propria răspundere înregistrate la "
        "Primăria [Loc] cu nr. [NR1] – [NR0] și referatul compartimentului de asistență "
        "socială;",
        "În conformitate cu prevederile Legii nr. 226/2021 privind stabilirea măsurilor de "
        "protecție socială pentru consumatorul vulnerabil de energie și ale Normelor "
        "metodologice aprobate prin Hotărârea Guvernului nr. 1073/2021;",
        "În temeiul art. 196 alin. (1) lit. b) din Ordonanța de urgență a Guvernului "
        "nr. 57/2019 privind Codul administrativ, cu modificările și completările "
        "ulterioare,",
    ]
    for i, t in enumerate(recitals):
        d.set("A%d" % (11 + i), t, "wrap", span="J%d" % (11 + i), height=1.35)
    d.set("A15", "PRIMARUL [TipLoc] [Loc] emite următoarea", "bcenter", span="J15")
    d.set("A16", "DISPOZIȚIE:", "bcenter", span="J16")
    arts = [
        ("Art. 1.", "Începând cu data de [DataStart] se acordă ajutorul pentru încălzirea "
         "locuinței, pentru o perioadă de [NrLuni] luni, unui număr de [NrCereri] persoane "
         "singure sau familii, potrivit anexei nr. 1, parte integrantă a prezentei "
         "dispoziții."),
        ("Art. 2.", "Începând cu data de [DataStart] se acordă suplimentul pentru energie "
         "unui număr de [NrSup] persoane singure sau familii, potrivit anexei nr. 2, parte "
         "integrantă a prezentei dispoziții."),
        ("Art. 3.", "Plata drepturilor se face începând cu data de [DataPlatii]. Titularii "
         "au obligația de a comunica orice modificare a componenței familiei sau a "
         "veniturilor în termen de 5 zile de la data la care a intervenit."),
        ("Art. 4.", "Împotriva prezentei dispoziții persoanele interesate pot face "
         "contestație în termen de 30 de zile de la comunicare, la Tribunalul [Tribunal], "
         "potrivit Legii nr. 554/2004."),
        ("Art. 5.", "Compartimentul de asistență socială din cadrul Primăriei [Loc] va duce "
         "la îndeplinire prevederile prezentei dispoziții, care se comunică Agenției "
         "Județene pentru Plăți și Inspecție Socială [Judet] și Instituției Prefectului – "
         "județul [Judet]."),
    ]
    for i, (a, t) in enumerate(arts):
        r = 17 + i
        d.set("A%d" % r, a, "bold")
        d.set("B%d" % r, t, "wrap", span="J%d" % r, height=1.35)
    d.set("J23", "Data azi,", "bcenter")
    d.set("J24", "[Dispdata]", "center")
    d.set("A25", "PRIMAR,", "bold", span="C25")
    d.set("A26", "[PRIMAR]", "text", span="D26")
    d.set("A31", "SECRETAR GENERAL,", "bold", span="D31")
    d.set("A32", "[SECRETAR]", "text", span="D32")
    d.set("A30", "Contrasemnează pentru legalitate,", "text", span="D30")

    w1 = {"A": 1.0, "B": 4.6, "C": 2.9, "D": 5.4, "E": 1.4, "F": 1.8, "G": 2.0, "H": 1.4,
          "I": 1.2}
    a1 = Sheet("Anexa 1", landscape=False, widths=w1, title_rows=(4, 4))
    a1.set("A1", "Anexa nr. 1", "bold")
    a1.set("A2", "LA DISPOZITIA PRIMARULUI NR. [DispNr] / [DispData]", "bcenter", span="H2")
    a1.set("A3", "Lista beneficiarilor ajutorului pentru încălzirea locuinței", "center",
           span="H3")
    headers(a1, 4, ["Nr. crt.", "Nume si prenume", "CNP", "Adresa", "Nr. pers.",
                    "Procent compensare %", "Valoare maxima ajutor", "Numar luni"])
    data_row(a1, 5, ["%NRCRT", "#TITULAR", "#CNP", "#ADRESA", "#NR_MEMBRI", "#CUANTUM",
                     "#VALMAX", "#NR_LUNI"], "I", NUMERIC)
    a1.set("D6", "TOTAL", "tlabel")
    a1.set("E6", "=SUM(E5:E5)", "tint")
    a1.set("D7", "Întocmit,", "bold")
    a1.set("D8", "[Intocmit]", "text")

    w2 = {"A": 1.0, "B": 4.2, "C": 2.9, "D": 4.6, "E": 1.3, "F": 1.9, "G": 1.7, "H": 1.7,
          "I": 1.7, "J": 1.2}
    a2 = Sheet("Anexa 2", widths=w2, title_rows=(4, 5))
    a2.set("A1", "Anexa nr. 2", "bold")
    a2.set("A2", "LA DISPOZITIA PRIMARULUI NR. [DispNr] / [DispData]", "bcenter", span="I2")
    a2.set("A3", "Lista beneficiarilor suplimentului pentru energie", "center", span="I3")
    for ref, t in (("A4", "Nr. crt."), ("B4", "Nume si prenume"), ("C4", "CNP"),
                   ("D4", "Adresa"), ("E4", "Nr. pers.")):
        a2.set(ref, t, "hdr", span=ref[0] + "5")
    a2.set("F4", "Supliment de energie lunar", "hdr", span="I4")
    for c, t in zip("FGHI", ["Combustibili solizi/petrolieri", "Gaze naturale",
                             "Energie electrica", "Energie termica"]):
        a2.set(c + "5", t, "hdr")
    a2.height(4, 0.6)
    a2.height(5, 1.3)
    data_row(a2, 6, ["%NRCRT", "#TITULAR", "#CNP", "#ADRESA", "#NR_MEMBRI", "#SUMAL",
                     "#SUMAG", "#SUMAE", "#SUMAT"], "J", NUMERIC)
    a2.set("D7", "TOTAL", "tlabel")
    a2.set("E7", "=SUM(E6:E6)", "tint")
    for c in "FGHI":
        a2.set(c + "7", "=SUM(%s6:%s6)" % (c, c), "tnum")
    a2.set("D8", "Întocmit,", "bold")
    a2.set("D9", "[Intocmit]", "text")
    return Workbook([d, a1, a2])


# ----- county agency annexes ---------------------------------------------------------

def _supplement_annex(number, title, columns, amount_title):
    """Annexes 14 to 17: beneficiaries of one energy supplement in the working month.
    columns: (title, marker, width) from column A; a total row follows the data row
    except in annex 14."""
    widths = {col_letters(i + 1): w for i, (_, _, w) in enumerate(columns)}
    dbf = col_letters(len(columns) + 1)
    widths[dbf] = 1.2
    last = col_letters(len(columns))
    sh = Sheet("Anexa%d" % number, landscape=True, widths=widths, title_rows=(8, 9))
    sh.set("A1", "Judetul [JUDET]", "bold", span="E1")
    sh.set("A2", "Primarul comunei/orasului/municipiului [Localit]", "bold", span="E2")
    sh.set(col_letters(len(columns) - 1) + "1", "Anexa nr. %d" % number, "bold",
           span=last + "1")
    sh.set("A4", title, "title", span=last + "4", height=1.1)
    sh.set("A5", "luna [luna] / anul [anul]", "bcenter", span=last + "5")
    headers(sh, 8, [t for t, _, _ in columns], height=1.8)
    numbering(sh, 9, len(columns))
    data_row(sh, 10, [m for _, m, _ in columns], dbf, NUMERIC)
    if number != 14:
        amount = col_letters([m for _, m, _ in columns].index(amount_title) + 1)
        sh.set(col_letters(col_index(amount) - 1) + "11", "TOTAL", "tlabel")
        sh.set(amount + "11", "=SUM(%s10:%s10)" % (amount, amount), "tnum")
        sig = 13
    else:
        sig = 12
    sh.set("B%d" % sig, "Primar,", "bold")
    sh.set("B%d" % (sig + 1), "[Primar]", "text")
    sh.set("G%d" % sig, "Întocmit,", "bold")
    sh.set("G%d" % (sig + 1), "[Intocmit]", "text")
    return Workbook([sh])


_COMMON = [("Nr. crt.", "%NRCRT", 1.0), ("Numele și prenumele titularului", "#TITULAR", 4.8),
           ("CNP", "#CNP", 2.9), ("Adresa", "#ADRESA", 6.0)]


def anexa14():
    return _supplement_annex(14, "Lista beneficiarilor suplimentului pentru energie "
                             "acordat pentru consumul de energie termică în sistem "
                             "centralizat", _COMMON + [
                                 ("Cod client", "#CODCLT", 2.4),
                                 ("Nr. membri familie", "#NR_MEMBRI", 1.6),
                                 ("Venit net lunar/membru de familie (lei)", "#VENITM", 2.2),
                                 ("Supliment lunar (lei)", "#SUMAT", 2.0),
                                 ("Nr./data dispoziției primarului", "#NR_DISP", 3.0)],
                             "#SUMAT")


def _gas_or_power(number, energy, code, pod, amount):
    return _supplement_annex(number, "Lista beneficiarilor suplimentului pentru energie "
                             "acordat pentru consumul de " + energy, _COMMON + [
                                 ("Cod client", code, 2.4),
                                 ("Cod loc de consum (POD)", pod, 3.2),
                                 ("Nr. membri familie", "#NR_MEMBRI", 1.6),
                                 ("Venit net lunar/membru de familie (lei)", "#VENITM", 2.2),
                                 ("Nr./data dispoziției primarului", "#NR_DISP", 3.0),
                                 ("Supliment lunar (lei)", amount, 2.0)], amount)


def anexa15():
    return _gas_or_power(15, "gaze naturale", "#CODCLG", "#PODG", "#SUMAG")


def anexa16():
    return _gas_or_power(16, "energie electrică", "#CODCLE", "#PODE", "#SUMAE")


def anexa17():
    return _supplement_annex(17, "Lista beneficiarilor suplimentului pentru energie "
                             "acordat pentru combustibili solizi și/sau petrolieri",
                             _COMMON + [
                                 ("Nr./data dispoziției primarului", "#NR_DISP", 3.0),
                                 ("Nr. membri familie", "#NR_MEMBRI", 1.6),
                                 ("Venit net lunar/membru de familie (lei)", "#VENITM", 2.2),
                                 ("Supliment lunar (lei)", "#SUMAL", 2.0)], "#SUMAL")


_ANNEX1_HEADERS = ["Nr. crt.", "Titular", "CNP", "Adresa", "Nr. membri in familie",
                   "Cod furnizor client", "Venit lunar /membru de familie",
                   "Valoare maxima ajutor", "Numar dispozitie primar", "Nivel compens (%)",
                   "Cuantum maxim ajutor (lei)"]
_ANNEX1_MARKERS = ["%NRCRT", "#SUBSEMN", "#CNP", "#ADRESA", "#NR_MEMBRI", "#CODCLT",
                   "#VENITM", "#VALMAX", "#NR_DISP", "#CUANTUM", None]
_ANNEX1_WIDTHS = {"A": 1.0, "B": 4.6, "C": 2.9, "D": 5.6, "E": 1.6, "F": 2.4, "G": 2.0,
                  "H": 2.0, "I": 3.0, "J": 1.6, "K": 2.0, "L": 1.2}


def _annex1_sheet(name, first, month_cell, year_cell, months=None):
    """The layout of annex 1 (heating-aid beneficiaries). On the first sheet the
    identity cells hold the markers; on the others they repeat the first sheet's."""
    sh = Sheet(name, landscape=True, widths=dict(_ANNEX1_WIDTHS), title_rows=(11, 11))
    src = (lambda ref, marker: marker) if first is None else \
        (lambda ref, marker: "='%s'!%s" % (first, ref))
    sh.set("A1", "Anexa nr. 1", "bold")
    sh.set("A2", "Județul:", "bold")
    sh.set("B2", src("B2", "[JUDET]"), "bold")
    sh.set("A5", "CIF:", "bold")
    sh.set("B5", src("B5", "[CIF]"), "bold")
    sh.set("C5", "UAT:", "bold")
    sh.set("D5", src("D5", "[UAT]"), "bold")
    sh.set("A7", "LISTA BENEFICIARILOR AJUTORULUI PENTRU ÎNCĂLZIREA LOCUINȚEI", "title",
           span="K7", height=0.7)
    if months:
        sh.set("A8", "cu dreptul acordat pentru %s" % months, "bcenter", span="K8")
    sh.set("B9", "Luna:", "right")
    sh.set("C9", month_cell, "bcenter")
    sh.set("D9", "Anul:", "right")
    sh.set("E9", year_cell, "bcenter")
    headers(sh, 11, _ANNEX1_HEADERS, height=1.9)
    data_row(sh, 12, _ANNEX1_MARKERS, "L", NUMERIC)
    border_blank(sh, 12, "A", "K")
    sh.set("D13", "TOTAL", "tlabel")
    sh.set("H13", "=SUM(H12:H12)", "tnum")
    sh.set("C15", "Primar,", "bold")
    sh.set("D16", src("D16", "[Primar]"), "text")
    sh.set("I15", "Întocmit,", "bold")
    if first is not None or month_cell != "[LUNA]":
        sh.set("I16", "='RapStat'!G76", "text")
    return sh


def _season_year(month):
    """The calendar year of a month of the current heating season (November to March):
    the season begins in the year whose October has passed."""
    start = "IF(MONTH(TODAY())>=10,YEAR(TODAY()),YEAR(TODAY())-1)"
    return "=" + start + ("" if month >= 11 else "+1")


def ajpis():
    names = ["5luni", "4luni", "3luni", "2luni", "1luna"]
    season = [(11, "noiembrie"), (12, "decembrie"), (1, "ianuarie"), (2, "februarie"),
              (3, "martie")]
    sheets = []
    for i, name in enumerate(names):
        month, month_name = season[i]
        n = 5 - i
        sheets.append(_annex1_sheet(name, None if i == 0 else names[0], month_name,
                                    _season_year(month),
                                    "%d %s" % (n, "luni" if n > 1 else "lună")))
    # Annex 21: beneficiaries by income bracket, number of months and family size.
    r = Sheet("RapStat", landscape=False,
              widths={"A": 1.0, "B": 2.8, "C": 1.6, "D": 1.8, "E": 1.6, "F": 1.6, "G": 1.6,
                      "H": 1.6, "I": 1.6, "J": 2.0}, title_rows=(4, 6))
    r.set("A1", "Anexa nr. 21", "bold")
    r.set("A2", "='5luni'!A2", "bold")
    r.set("B2", "='5luni'!B2", "bold")
    r.set("C2", "='5luni'!C5", "bold")
    r.set("D2", "='5luni'!D5", "bold", span="G2")
    r.set("A3", "NUMĂRUL BENEFICIARILOR AJUTORULUI PENTRU ÎNCĂLZIREA LOCUINȚEI, PE TRANȘE "
          "DE VENIT, NUMĂR DE LUNI ȘI MĂRIMEA FAMILIEI", "title", span="J3", height=1.2)
    r.set("A4", "Nr. tranșă", "hdr", span="A6")
    r.set("B4", "Venit net/membru de familie (lei)", "hdr", span="B6")
    r.set("C4", "Nr. luni", "hdr", span="C6")
    r.set("D4", "Total", "hdr", span="D6")
    r.set("E4", "Familii cu:", "hdr", span="I4")
    r.set("E5", "2 membri", "hdr", span="E6")
    r.set("F5", "3 membri", "hdr", span="F6")
    r.set("G5", "4 membri", "hdr", span="G6")
    r.set("H5", "5 membri", "hdr", span="H6")
    r.set("I5", "peste 5 membri", "hdr", span="I6")
    r.set("J4", "Persoane singure", "hdr", span="J6")
    r.height(5, 0.5)
    r.height(6, 0.5)
    for k in range(1, 12):
        top = k * 5 + 2  # row of 5 months for bracket k
        r.set("A%d" % top, str(k), "ccell", span="A%d" % (top + 4))
        r.set("B%d" % top, BRACKETS[k - 1], "ccell", span="B%d" % (top + 4))
        for m in range(5, 0, -1):
            row = k * 5 - m + 7
            r.set("C%d" % row, m, "int")
            r.set("D%d" % row, "=SUM(E%d:J%d)" % (row, row), "tint")
            for c in range(1, 7):
                ref = col_letters(c + 4) + str(row)
                skipped = (k == 10 and c == 6) or (k == 11 and c <= 5)
                r.set(ref, "x" if skipped else 0, "shade" if skipped else "int")
    r.set("A62", "TOTAL", "tlabel", span="B66")
    for m in range(5, 0, -1):
        row = 62 + 5 - m
        r.set("C%d" % row, m, "tint")
        for c in "DEFGHIJ":
            cells = ",".join("%s%d" % (c, k * 5 - m + 7) for k in range(1, 12))
            r.set("%s%d" % (c, row), "=SUM(%s)" % cells, "tint")
    r.set("B75", "Primar,", "bold")
    r.set("B76", "='5luni'!D16", "text", span="D76")
    r.set("G75", "Întocmit,", "bold")
    r.set("G76", "[Intocmit]", "text", span="I76")
    return Workbook(sheets + [r])


def anexa1():
    """Annex 1 for one supplier's customers: the layout of the first AJPIS sheet with the
    working month and year filled by the program."""
    sh = _annex1_sheet("Anexa1", None, "[LUNA]", "[ANUL]")
    sh.set("I16", "[Intocmit]", "text")
    return Workbook([sh])


def anexa22():
    sh = Sheet("Raport", landscape=True, title_rows=(5, 7),
               widths={"A": 0.9, "B": 2.4, "C": 1.5, "D": 2.1,
                       **{col_letters(c): 1.35 for c in range(5, 23)}})
    sh.set("B1", "[UAT]", "bold", span="H1")
    sh.set("S1", "Anexa nr. 22", "bold", span="V1")
    sh.set("A3", "SUMELE PLĂTITE PENTRU AJUTORUL DE ÎNCĂLZIRE A LOCUINȚEI, PE NIVELURI DE "
           "COMPENSARE, LUNA DE ÎNCEPUT A DREPTULUI ȘI TIPUL FAMILIEI (lei)", "title",
           span="V3", height=1.1)
    sh.set("A5", "Nr. tranșă", "hdr", span="A7")
    sh.set("B5", "Venit net/membru de familie (lei)", "hdr", span="B7")
    sh.set("C5", "Factor de compensare (%)", "hdr", span="C7")
    sh.set("D5", "Luna de început a dreptului", "hdr", span="D7")
    sh.set("E5", "Luna plății", "hdr", span="V5")
    pay = ["Decembrie", "Ianuarie", "Februarie", "Martie", "Aprilie", "Mai", "Iunie",
           "Iulie", "August"]
    for i, m in enumerate(pay):
        c = col_letters(5 + 2 * i)
        sh.set(c + "6", m, "hdr", span=col_letters(6 + 2 * i) + "6")
        sh.set(c + "7", "familii", "hdr")
        sh.set(col_letters(6 + 2 * i) + "7", "pers. singure", "hdr")
    sh.height(5, 0.5)
    sh.height(6, 0.5)
    sh.height(7, 0.8)
    starts = ["noiembrie", "decembrie", "ianuarie", "februarie", "martie"]
    for k in range(1, 12):
        top = k * 5 + 3
        sh.set("A%d" % top, str(k), "ccell", span="A%d" % (top + 4))
        sh.set("B%d" % top, BRACKETS[k - 1], "ccell", span="B%d" % (top + 4))
        sh.set("C%d" % top, PERCENTS[k - 1], "int", span="C%d" % (top + 4))
        for i, name in enumerate(starts):
            row = top + i
            sh.set("D%d" % row, name, "ccell")
            for c in range(5, 23):
                family = (c % 2 == 1)
                skipped = (k == 11 and family) or (k == 10 and not family)
                sh.set(col_letters(c) + str(row), "x" if skipped else 0,
                       "shade" if skipped else "num")
    sh.set("A63", "TOTAL", "tlabel", span="C67")
    for i, name in enumerate(starts):
        row = 63 + i
        sh.set("D%d" % row, name, "tlabel")
        for c in range(5, 23):
            col = col_letters(c)
            cells = ",".join("%s%d" % (col, k * 5 + 3 + i) for k in range(1, 12))
            sh.set(col + str(row), "=SUM(%s)" % cells, "tnum")
    sh.set("L69", "Întocmit,", "bold")
    sh.set("L70", "[Intocmit]", "text", span="P70")
    return Workbook([sh])


def _anexa23_24(number, title, value_style):
    widths = {"A": 2.4, "B": 2.6, "C": 0.2, **{col_letters(c): 1.9 for c in range(4, 15)},
              "O": 2.0}
    sh = Sheet("Anexa%d" % number, landscape=True, widths=widths, title_rows=(5, 6))
    sh.set("A1", "U.A.T. [UAT]", "bold", span="F1")
    sh.set("L1", "Anexa nr. %d" % number, "bold", span="O1")
    sh.set("A3", title, "title", span="O3", height=0.7)
    sh.set("A4", "[TIPS]", "bcenter", span="O4")
    sh.set("A5", "Luna", "hdr", span="A6")
    sh.set("B5", "Tip beneficiar", "hdr", span="C6")
    sh.set("D5", "Venit net/membru de familie (lei)", "hdr", span="N5")
    for k in range(1, 12):
        sh.set(col_letters(k + 3) + "6", BRACKETS[k - 1], "hdr")
    sh.set("O5", "Total", "hdr", span="O6")
    sh.height(6, 0.9)
    sh.set("A7", "TOTAL", "tlabel", span="A8")
    for row, who in ((7, "familii"), (8, "persoane singure")):
        sh.set("B%d" % row, who, "tlabel", span="C%d" % row)
        for c in range(4, 16):
            col = col_letters(c)
            cells = ",".join("%s%d" % (col, rr) for rr in range(row + 2, 33, 2))
            sh.set("%s%d" % (col, row), "=SUM(%s)" % cells,
                   "tint" if value_style == "int" else "tnum")
    for m in range(1, 13):
        fam, single = 2 * m + 7, 2 * m + 8
        sh.set("A%d" % fam, MONTHS[m - 1], "ccell", span="A%d" % single)
        sh.set("B%d" % fam, "familii", "cell", span="C%d" % fam)
        sh.set("B%d" % single, "persoane singure", "cell", span="C%d" % single)
        for k in range(1, 12):
            for row, skip in ((fam, k == 11), (single, k == 10)):
                sh.set(col_letters(k + 3) + str(row), "x" if skip else 0,
                       "shade" if skip else value_style)
        for row in (fam, single):
            sh.set("O%d" % row, "=SUM(D%d:N%d)" % (row, row),
                   "tint" if value_style == "int" else "tnum")
    sh.set("L35", "Întocmit,", "bold")
    sh.set("L36", "[Intocmit]", "text", span="O36")
    return Workbook([sh])


def anexa23():
    return _anexa23_24(23, "NUMAR BENEFICIARI SUPLIMENT PENTRU ENERGIE", "int")


def anexa24():
    return _anexa23_24(24, "SUME PLATITE SUPLIMENT PENTRU ENERGIE", "num")


def anexa25():
    sh = Sheet("Anexa25", widths={"A": 1.2, "B": 7.5, "C": 3.4, "D": 4.2, "E": 1.2},
               title_rows=(11, 11))
    sh.set("A1", "Judetul [JUDET]", "bold", span="D1")
    sh.set("A2", "Primarul comunei/orasului/municipiului [Localit]", "bold", span="D2")
    sh.set("C3", "Anexa nr. 25", "bold", span="D3")
    sh.set("A5", "Către furnizorul de energie:", "bold", span="B5")
    sh.set("A6", "[Furnizor]", "bold", span="D6")
    sh.set("A8", "SITUAȚIA BENEFICIARILOR AJUTORULUI PENTRU ÎNCĂLZIREA LOCUINȚEI ȘI A "
           "SUPLIMENTULUI PENTRU ENERGIE, CU SUMELE DE DECONTAT, PENTRU LUNA [Luna]",
           "title", span="D8", height=1.4)
    headers(sh, 11, ["Nr. crt.", "Numele și prenumele titularului", "CNP",
                     "Plati efectuate in luna raportata (lei)"], height=1.3)
    data_row(sh, 12, ["%NRCRT", "#SUBSEMN", "#CNP", "#SUMAT"], "E", NUMERIC)
    sh.set("C13", "TOTAL", "tlabel")
    sh.set("D13", "=SUM(D12:D12)", "tnum")
    sh.set("B15", "Primar,", "bold")
    sh.set("C15", "Întocmit,", "bold")
    return Workbook([sh])


# ----- treasury annex and control lists ------------------------------------------------

def trez_anx2():
    sh = Sheet("Anexa2", widths={"A": 1.2, "B": 7.0, "C": 2.4, "D": 3.4, "E": 3.4, "F": 1.2},
               title_rows=(8, 8))
    sh.set("A1", "#JUDETUL", "bold", span="B1")
    sh.set("E1", "Anexa nr. 2", "bold")
    sh.set("A2", "Unitatea:", "bold", span="B2")
    sh.set("C2", "#UAT", "bold", span="E2")
    sh.set("A3", "[Situatia]", "title", span="E3", height=1.2)
    sh.set("A5", "[data]", "bcenter", span="E5")
    headers(sh, 8, ["Nr. crt.", "Nume si prenume", "Numar membri familie/copii",
                    "Cod numeric personal", "Plati efectuate in luna raportata (lei)"],
            height=1.4)
    data_row(sh, 9, ["%NRCRT", "#NUMEPREN", "#NRPERS", "#CNP", "#SUMA"], "F", NUMERIC)
    sh.set("B10", "TOTAL", "tlabel")
    sh.set("C10", "=SUM(C9:C9)", "tint")
    sh.set("D10", "", "tlabel")
    sh.set("E10", "=SUM(E9:E9)", "tnum")
    sh.set("A12", "Prezenta situație cuprinde [NrPers] persoane.", "text", span="E12")
    sh.set("D14", "Ordonator de credite,", "bcenter", span="E14")
    sh.set("D15", "[Primar]", "center", span="E15")
    return Workbook([sh])


def lista_pers():
    sh = Sheet("ListaPers", widths={"A": 1.0, "B": 6.0, "C": 3.0, "D": 2.4, "E": 3.0,
                                    "F": 1.6, "G": 2.4, "H": 1.2}, title_rows=(5, 5))
    sh.set("A1", "LISTA PERSOANELOR BENEFICIARE DE AJUTOARE DE CALDURA", "title", span="G1",
           height=0.8)
    sh.set("C2", "la data de", "right")
    sh.set("D2", "=TODAY()", "today")
    headers(sh, 5, ["Nr. crt.", "Nume si prenume", "CNP", "Venit lunar       -lei-",
                    "Calitate", "Varsta", "Data nasterii"], height=1.0)
    data_row(sh, 6, ["%NRCRT", "#TITULAR", "#CNP", "#VENIT", "#CALITATE"], "H", NUMERIC)
    sh.set("F6", "=INT((TODAY()-G6)/365.25)", "int")
    # Birth date from the CNP: the century is 2000 for a first digit 5 or 6 and 1900 for
    # every other valid one (7, 8 and 9 are foreign residents born in the 1900s), the
    # same rule the program applies when it reads a CNP.
    sh.set("G6", '=DATE(IF(OR(LEFT(C6,1)="5",LEFT(C6,1)="6"),2000,1900)+MID(C6,2,2),'
           'MID(C6,4,2),MID(C6,6,2))', "date")
    return Workbook([sh])


def sit_mem():
    sh = Sheet("Situatia Membrilor", landscape=True,
               widths={"A": 1.2, "B": 3.8, "C": 4.2, "D": 3.0, "E": 3.8, "F": 4.2,
                       "G": 3.0, "H": 4.0, "I": 1.2}, title_rows=(3, 3))
    sh.set("A1", "SITUATIA MEMBRILOR DIN DOSARELE DE AJUTOARE INCALZIRE "
           "LEMNE/TERMIC/GAZE/ELECTRIC", "title", span="H1", height=0.9)
    headers(sh, 3, ["NR. CRT", "NUME TITULAR", "PRENUME TITULAR", "CNP TITULAR",
                    "NUME MEMBRI", "PRENUME MEMBRI", "CNP MEMBRI", "LOCALITATE"], height=0.9)
    data_row(sh, 4, ["%NRCRT", "#NUMET", "#PRENUMET", "#CNPT", "#NUMEM", "#PRENUMEM",
                     "#CNPM", "#LOC"], "I", {**NUMERIC, "#CNPT": "ccell", "#CNPM": "ccell"})
    return Workbook([sh])


def control():
    titles = ["Nr. crt.", "Nume și prenume titular", "CNP", "Adresa", "Cod titular",
              "Nr. membri", "Venit net/membru (lei)", "Nr. dispoziție",
              "Nivel compensare (%)", "Buget local", "Județ", "Primărie", "Luna", "Anul",
              "Stare civilă", "Situație școlară", "Venit total familie (lei)",
              "Nr. camere"]
    markers = ["%NRCRT", "#TITULAR", "#CNP", "#ADRESA", "#CODTIT", "#NR_MEMBRI", "#VENITM",
               "#NR_DISP", "#CUANTUM", "", "#JUD", "#PRIMARIE", "#LUNA", "#AN", "#STCIV",
               "#SITSCOL", "#TVENIT", "#NRCAM"]
    widths = [0.9, 4.0, 2.7, 5.0, 1.5, 1.3, 1.7, 2.2, 1.5, 1.4, 1.1, 2.6, 1.0, 1.2, 1.6,
              1.6, 1.8, 1.2, 1.2]
    sh = Sheet("CSL", landscape=True, title_rows=(5, 5),
               widths={col_letters(i + 1): w for i, w in enumerate(widths)})
    sh.set("A1", "CONTROL BAZAT PE PROFILUL DE RISC", "title", span="R1", height=0.7)
    sh.set("A2", "Situația beneficiarilor ajutorului pentru încălzirea locuinței și a "
           "suplimentului pentru energie", "bcenter", span="R2")
    headers(sh, 5, titles, height=1.6)
    data_row(sh, 6, markers, "S", {**NUMERIC, "": "cell"})
    return Workbook([sh])


EON_HEADERS = ["CRC", "Primarie", "Nr Dispozitie", "Ajutor Total", "Ajutor Stat",
               "Ajutor Local", "Cod Abonat", "Nume Titular", "Prenume Titular",
               "Tip Client", "Nume Beneficiar", "Prenume Beneficiar", "CNP Beneficiar",
               "Judet", "Cod Loc", "Localitate", "Cod Str", "Strada", "Numar",
               "Supliment", "Bloc", "AP", "Punct Consum", "Instalatie", "Numar Membri",
               "Venit Membru", "Luna Ajutor"]


def eon_gaz():
    sh = Sheet("Suplimente", landscape=True,
               widths={col_letters(i + 1): 2.6 for i in range(len(EON_HEADERS))})
    sh.row("A1", EON_HEADERS, "hdr")
    sh.height(1, 0.6)
    return Workbook([sh])


# Resource name -> (builder, extension)
ALL = {
    "Stat": (stat, "xls"),
    "StabilireU": (stabilire_u, "xls"),
    "Anexa14": (anexa14, "xls"),
    "Anexa15": (anexa15, "xls"),
    "Anexa16": (anexa16, "xls"),
    "Anexa17": (anexa17, "xls"),
    "AJPIS": (ajpis, "xls"),
    "Anexa1": (anexa1, "xls"),
    "Anexa22": (anexa22, "xls"),
    "Anexa23": (anexa23, "xls"),
    "Anexa24": (anexa24, "xls"),
    "Anexa25": (anexa25, "xls"),
    "ListaPers": (lista_pers, "xls"),
    "SitMem": (sit_mem, "xls"),
    "CONTROL": (control, "xls"),
    "TrezAnx2": (trez_anx2, "xls"),
    "EONGaz": (eon_gaz, "xlsx"),
}
