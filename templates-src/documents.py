"""The RTF templates the office prints: dispositions, reports on applications, the
application forms, the social inquiry and the treasury centraliser.

Placeholders keep the capitals they have here on purpose: a placeholder written all in
capitals (and longer than four characters) prints its value in capitals, one written with
small letters prints the value as stored. Each paragraph is one line of the file, so no
placeholder is ever split.
"""

from rtfgen import Document

MARKER = "terminoiu"

LAW = ("Legii nr. 226/2021 privind stabilirea măsurilor de protecție socială pentru "
       "consumatorul vulnerabil de energie, cu modificările și completările ulterioare")
NORMS = ("Normelor metodologice de aplicare a prevederilor Legii nr. 226/2021, aprobate "
         "prin Hotărârea Guvernului nr. 1073/2021")
ADMIN_CODE = ("art. 155 alin. (1) lit. d) și alin. (5) lit. a) și art. 196 alin. (1) lit. b) "
              "din Ordonanța de urgență a Guvernului nr. 57/2019 privind Codul administrativ, "
              "cu modificările și completările ulterioare")
APPEAL = ("Împotriva prezentei dispoziții persoana interesată poate formula contestație în "
          "termen de 30 de zile de la comunicare, la instanța de contencios administrativ "
          "competentă, potrivit Legii contenciosului administrativ nr. 554/2004, cu "
          "modificările și completările ulterioare.")


def _legal_basis(doc):
    doc.par("În conformitate cu prevederile " + LAW + ", și ale " + NORMS + ";", fi=1.0)
    doc.par("În temeiul " + ADMIN_CODE + ",", fi=1.0)


def _execution(doc, article):
    doc.par("**Art. %d.** Compartimentul de asistență socială din cadrul Primăriei [Loc] va "
            "duce la îndeplinire prevederile prezentei dispoziții." % article, fi=1.0)


def _communication(doc, article):
    doc.par("**Art. %d.** Prezenta dispoziție se comunică [dlui] [Nume], Agenției Județene "
            "pentru Plăți și Inspecție Socială [Judet] și Instituției Prefectului – județul "
            "[Judet]." % article, fi=1.0)


def _disposition_heading(doc):
    """The heading every disposition shares: country, county, "UAT" and the locality."""
    doc.par("ROMÂNIA", align="l", bold=True, sa=0)
    doc.par("JUDEȚUL [JUDET]", align="l", bold=True, sa=0)
    doc.par("UAT [LOC]", align="l", bold=True, sa=0)
    doc.par("PRIMAR", align="l", bold=True, sa=240)
    doc.par("DISPOZIȚIA NR. [NR] din [DATA]", align="c", bold=True, size=14, sa=60)


def _signatures(doc):
    doc.signatures(["PRIMAR,", "[PRIMAR]"],
                   ["Contrasemnează pentru legalitate,", "SECRETAR GENERAL,", "[SECRETAR]"])


def stabilire():
    doc = Document("Dispoziție de stabilire a dreptului", size=11)
    _disposition_heading(doc)
    doc.par("privind acordarea ajutorului pentru încălzirea locuinței și a suplimentului "
            "pentru energie [dlui] [Nume], cu domiciliul în [Domiciliu]", align="c",
            bold=True, sa=240)
    doc.par("Având în vedere cererea și declarația pe propria răspundere a [dlui] [Nume], "
            "înregistrată la Primăria [LocArt] [Loc] sub nr. [NrCerere]/[DataCerere], "
            "precum și actele doveditoare depuse;", fi=1.0)
    doc.par("Văzând referatul compartimentului de asistență socială prin care se propune "
            "acordarea drepturilor;", fi=1.0)
    _legal_basis(doc)
    doc.par("PRIMARUL [LOCART] [LOC], [PRIMAR]", align="c", bold=True, sb=120)
    doc.par("DISPUN:", align="c", bold=True, sa=160)
    doc.par("**Art. 1.** Începând cu data de [Data01] se acordă următoarele drepturi:",
            fi=1.0)
    doc.par("[[CuAjut]] ajutor pentru încălzirea locuinței, în procent de compensare de "
            "[Suma]% (tranșa de venit [Litera]), la un preț de referință de [Tarif] lei, "
            "în valoare maximă lunară de [ValMax] lei, pe o perioadă de [Perioada] luni;",
            li=1.0, sa=40)
    doc.par("[[SL]] supliment pentru energie pentru combustibili solizi și/sau petrolieri, "
            "în cuantum de [SumaL] lei/lună;", li=1.0, sa=40)
    doc.par("[[SG]] supliment pentru energie pentru consumul de gaze naturale, în cuantum de "
            "[SumaG] lei/lună;", li=1.0, sa=40)
    doc.par("[[SE]] supliment pentru energie pentru consumul de energie electrică, în cuantum "
            "de [SumaE] lei/lună;", li=1.0, sa=40)
    doc.par("[[ST]] supliment pentru energie pentru consumul de energie termică în sistem "
            "centralizat, în cuantum de [SumaT] lei/lună,", li=1.0)
    doc.par("în favoarea [dlui] [Nume], CNP [CNP], cu domiciliul în [Domiciliu].", fi=1.0)
    doc.par("**Art. 2.** Titularul are obligația de a comunica în scris primăriei orice "
            "modificare intervenită în componența familiei, în veniturile sau în bunurile "
            "acesteia, în termen de 5 zile de la data la care a intervenit modificarea.",
            fi=1.0)
    doc.par("**Art. 3.** " + APPEAL, fi=1.0)
    _execution(doc, 4)
    _communication(doc, 5)
    doc.par("Data: [DATA]", align="l", sb=200)
    _signatures(doc)
    return doc


def modificare():
    doc = Document("Dispoziție de modificare a dreptului", size=11)
    _disposition_heading(doc)
    doc.par("privind modificarea cuantumului ajutorului pentru încălzirea locuinței acordat "
            "familiilor și persoanelor singure din [TipLoc] [Loc], pentru [Domnul] [Nume], "
            "cu domiciliul în [Domiciliu]", align="c", bold=True, sa=240)
    doc.par("Având în vedere cererea [dlui] [Nume] nr. [NrCerere]/[DataCerere], "
            "înregistrată la Primăria [LocArt] [Loc], și documentele care dovedesc "
            "modificarea intervenită în componența familiei sau în veniturile acesteia;",
            fi=1.0)
    doc.par("Văzând referatul compartimentului de asistență socială;", fi=1.0)
    _legal_basis(doc)
    doc.par("PRIMARUL [LOCART] [LOC], [PRIMAR]", align="c", bold=True, sb=120)
    doc.par("DISPUN:", align="c", bold=True, sa=160)
    doc.par("**Art. 1.** Începând cu data de [Data01], cuantumul ajutorului pentru încălzirea "
            "locuinței se modifică și se stabilește la un procent de compensare de [SUMA]% "
            "din valoarea consumului, în valoare maximă lunară de [ValMax] lei, pentru "
            "[Domnul] [Nume], CNP [CNP], cu domiciliul în [Domiciliu], județul [Judet].",
            fi=1.0)
    doc.par("**Art. 2.** Celelalte prevederi privind dreptul acordat rămân neschimbate. "
            "Titularul are obligația de a comunica în scris primăriei orice nouă modificare, "
            "în termen de 5 zile de la data la care a intervenit.", fi=1.0)
    doc.par("**Art. 3.** " + APPEAL, fi=1.0)
    _execution(doc, 4)
    doc.par("**Art. 5.** Prezenta dispoziție se comunică Agenției Județene pentru Plăți și "
            "Inspecție Socială [Judet], Instituției Prefectului – județul [Judet] și "
            "[dlui] [Nume].", fi=1.0)
    doc.par("Data: [DATA]", align="l", sb=200)
    _signatures(doc)
    return doc


def respingere():
    doc = Document("Dispoziție de respingere a cererii", size=11)
    _disposition_heading(doc)
    doc.par("privind respingerea cererii de acordare a ajutorului pentru încălzirea "
            "locuinței în [tiploc] [Loc], formulată de [Domnul] [NUME]", align="c",
            bold=True, sa=240)
    doc.par("Având în vedere cererea și declarația pe propria răspundere înregistrate sub "
            "nr. [NRCERERE] / [DATACERERE], precum și actele depuse de solicitant;", fi=1.0)
    doc.par("Văzând referatul compartimentului de asistență socială, din care rezultă că "
            "nu sunt îndeplinite condițiile de acordare a dreptului;", fi=1.0)
    _legal_basis(doc)
    doc.par("[PRIMAR], primarul [LOCART] [LOC], județul [JUDET],", align="c", bold=True,
            sb=120)
    doc.par("DISPUN:", align="c", bold=True, sa=160)
    doc.par("**Art. 1.** Se respinge cererea de acordare a ajutorului pentru încălzirea "
            "locuinței formulată de [Domnul] [NUME], cu domiciliul în [Domiciliu], județul "
            "[Judet], CNP [CNP], deoarece [Motiv].", fi=1.0)
    doc.par("**Art. 2.** " + APPEAL, fi=1.0)
    _execution(doc, 3)
    _communication(doc, 4)
    doc.par("Data: [Data]", align="l", sb=200)
    _signatures(doc)
    return doc


def referat():
    doc = Document("Referat privind acordarea ajutorului", size=12)
    doc.par("ROMÂNIA", align="l", bold=True, sa=0)
    doc.par("JUDEȚUL [JUDET]", align="l", bold=True, sa=0)
    doc.par("PRIMĂRIA [LOCALIT]", align="l", bold=True, sa=0)
    doc.par("Compartimentul de asistență socială", align="l", sa=0)
    doc.par("Nr. [NrRef] din [DataRef]", align="l", sa=360)
    doc.par("R E F E R A T", align="c", bold=True, size=16, sa=60)
    doc.par("privind acordarea ajutorului pentru încălzirea locuinței și a suplimentului "
            "pentru energie", align="c", bold=True, sa=360)
    doc.par("Prin cererea și declarația pe propria răspundere înregistrate sub nr. "
            "[NRCERERE]/[DATACERERE], [Domnul] [NUME], CNP [CNP], cu domiciliul în "
            "[Domiciliu], a solicitat acordarea ajutorului pentru încălzirea locuinței "
            "și/sau a suplimentului pentru energie, în condițiile " + LAW + ".", fi=1.25,
            sa=120)
    doc.par("Din analiza documentelor depuse rezultă că solicitantul îndeplinește condițiile "
            "prevăzute de lege. Potrivit venitului net mediu lunar pe membru de familie, "
            "nivelul de compensare este de [Suma]%, la un preț de referință de [tarif] lei. "
            "Propunem acordarea ajutorului pentru încălzirea locuinței în valoare maximă "
            "lunară de [ValMax] lei, în valoare totală de [Total] lei pentru perioada "
            "acordată.", fi=1.25, sa=120)
    doc.par("Se propune, de asemenea, acordarea suplimentului lunar pentru energie, după cum "
            "urmează:", fi=1.25, sa=120)
    widths = [1.2, 10.0, 4.0]
    doc.row(["Nr.", "Tipul suplimentului pentru energie", "Suma lunară (lei)"], widths,
            header=True)
    doc.row(["1.", "Combustibili solizi și/sau petrolieri", "[SupL]"], widths,
            align="clr")
    doc.row(["2.", "Gaze naturale", "[SupG]"], widths, align="clr")
    doc.row(["3.", "Energie termică în sistem centralizat", "[SupT]"], widths, align="clr")
    doc.row(["4.", "Energie electrică", "[SupE]"], widths, align="clr")
    doc.par("Față de cele de mai sus, supunem aprobării dumneavoastră emiterea dispoziției "
            "corespunzătoare.", fi=1.25, sb=240)
    doc.signatures(["Întocmit,", "[Intocmit]"], ["Director economic,", "[Director]"])
    return doc


# ----- application forms ---------------------------------------------------------------

def _form_heading(doc, annex, title):
    doc.par(annex, align="r", bold=True, sa=0, size=9)
    doc.par("Nr. înregistrare ............ / ............", align="r", sa=120, size=9)
    doc.par("Către Primăria [UAT]", align="l", bold=True, sa=120)
    doc.par(title, align="c", bold=True, size=12, sa=0)


def _applicant(doc, full):
    doc.par("**1. Date despre solicitant**", align="l", sb=120, keepn=True)
    doc.par("Numele: [NUME]   Prenumele: [PRENUME]", align="l", sa=20)
    doc.par("Cod numeric personal: [CNP]", align="l", sa=20)
    doc.par("Domiciliul/reședința: localitatea ............................, "
            "str. ................................................, nr. ......, bl. ......, "
            "sc. ......, ap. ......, județul ..........................", align="l", sa=20)
    if full:
        doc.par("Act de identitate: tip ......, seria ......, nr. ..............., eliberat "
                "de ........................ la data de ..............", align="l", sa=20)
        doc.par("Stare civilă: ☐ căsătorit(ă)  ☐ necăsătorit(ă)  ☐ divorțat(ă)  "
                "☐ văduv(ă)  ☐ uniune consensuală", align="l", sa=20)
    doc.par("Telefon: ....................   E-mail: ....................................",
            align="l", sa=20)


def _rights(doc):
    doc.par("**2. Solicit acordarea următoarelor drepturi:**", align="l", sb=120, keepn=True)
    doc.par("[[AI]] ajutor pentru încălzirea locuinței", align="l", li=0.5, sa=20)
    doc.par("[[SU]] supliment pentru energie", align="l", li=0.5, sa=20)


def _supplement_table(doc):
    widths = [1.3, 4.1, 4.5, 3.5, 4.1]
    doc.row(["", "Tipul suplimentului pentru energie", "Furnizor", "Cod client",
             "Cod loc de consum (POD)"], widths, header=True, size=9)
    doc.row(["[[ST]]", "energie termică în sistem centralizat", "[FURNT]", "[CODCLT]", "-"],
            widths, size=9, align="cllll")
    doc.row(["[[SG]]", "gaze naturale", "[FURNG]", "[CODCLG]", "[PODG]"], widths, size=9,
            align="cllll")
    doc.row(["[[SE]]", "energie electrică", "[FURNE]", "[CODCLE]", "[PODE]"], widths,
            size=9, align="cllll")
    doc.row(["[[SL]]", "combustibili solizi și/sau petrolieri", "-", "-", "-"], widths,
            size=9, align="cllll")


def _heating(doc):
    doc.par("**3. Sistemul de încălzire a locuinței**", align="l", sb=120, keepn=True)
    doc.par("☐ energie termică în sistem centralizat – furnizor: [FURNTI], cod client: "
            "[CODCLTI]", align="l", li=0.5, sa=20)
    doc.par("☐ gaze naturale   ☐ energie electrică   ☐ combustibili solizi și/sau "
            "petrolieri (lemne, cărbuni, petrol)", align="l", li=0.5, sa=20)
    doc.par("Locuința are ........ camere și este deținută în calitate de: ☐ proprietar  "
            "☐ chiriaș  ☐ altă calitate ..................", align="l", li=0.5, sa=20)


def _family_table(doc, rows):
    widths = [0.8, 5.5, 3.6, 3.2, 4.4]
    doc.row(["Nr.", "Numele și prenumele", "CNP", "Relația cu solicitantul",
             "Venituri nete lunare (lei)"], widths, header=True, size=9)
    for i in range(1, rows + 1):
        doc.row(["%d." % i, "", "", "", ""], widths, size=9)


_ASSETS = [
    "clădiri, spații locative sau alte spații, în afara locuinței de domiciliu și a "
    "anexelor gospodărești;",
    "terenuri intravilane cu suprafață mai mare de 1.000 mp în zona urbană și 2.000 mp "
    "în zona rurală;",
    "mai mult de un autoturism sau motocicletă cu o vechime mai mică de 10 ani;",
    "depozite bancare cu valoare de peste 3.000 lei;",
    "utilaje agricole, ambarcațiuni sau alte bunuri de valoare, în afara celor strict "
    "necesare gospodăriei.",
]


def mod_cerere():
    doc = Document("Cerere și declarație pe propria răspundere", font="Arial", size=10,
                   margins_cm=(2.0, 1.5, 1.2, 1.2))
    _form_heading(doc, "Anexa nr. 26 la normele metodologice",
                  "CERERE ȘI DECLARAȚIE PE PROPRIA RĂSPUNDERE")
    doc.par("pentru acordarea ajutorului pentru încălzirea locuinței și a suplimentului "
            "pentru energie", align="c", bold=True, sa=120)
    _applicant(doc, full=True)
    _rights(doc)
    _heating(doc)
    doc.par("**4. Suplimentul pentru energie se solicită pentru:**", align="l", sb=120,
            keepn=True)
    _supplement_table(doc)
    doc.par("**5. Componența familiei**", align="l", sb=120, keepn=True)
    _family_table(doc, 5)
    doc.par("**6. Veniturile familiei** (venitul net lunar realizat în luna anterioară "
            "depunerii cererii)", align="l", sb=120, keepn=True)
    doc.par("Venitul net lunar total al familiei: [TVENIT] lei", align="l", li=0.5, sa=20)
    doc.par("Venitul net mediu lunar pe membru de familie: [VENITM] lei", align="l",
            li=0.5, sa=20)
    doc.par("**7. Bunuri.** Declar că familia mea nu deține bunuri dintre cele care, potrivit "
            "legii, exclud acordarea dreptului:", align="l", sb=120, keepn=True)
    for item in _ASSETS:
        doc.par("– " + item, align="j", li=0.5, sa=0, size=9)
    doc.par("Declar pe propria răspundere, cunoscând prevederile art. 326 din Codul penal "
            "privind falsul în declarații, că datele de mai sus sunt adevărate și complete "
            "și mă oblig să comunic orice modificare a acestora în termen de 5 zile de la "
            "data la care a intervenit.", sb=120)
    doc.par("Data: [DATACERE]\tNumele și prenumele: [NumeP]", align="l", sb=200,
            tabs=[("l", 7.0)])
    doc.par("\tSemnătura ...........................", align="l", tabs=[("l", 7.0)],
            sb=120)
    doc.raw("{\\v " + MARKER + "}")
    _form_tail(doc)
    return doc


def _form_tail(doc):
    doc.par("**Acte doveditoare anexate cererii:**", align="l", sb=240, keepn=True)
    for item in ["copii ale actelor de identitate ale membrilor familiei;",
                 "copii ale certificatelor de naștere ale copiilor, după caz;",
                 "dovezi ale veniturilor nete realizate de membrii familiei în luna "
                 "anterioară depunerii cererii;",
                 "ultima factură emisă de furnizorul de energie, după caz;",
                 "actul care dovedește calitatea în care solicitantul deține locuința;",
                 "alte documente ..................................................."]:
        doc.par("☐ " + item, align="l", li=0.5, sa=0, size=9)
    doc.par("**Informare privind prelucrarea datelor cu caracter personal.** Datele din "
            "prezenta cerere sunt prelucrate de primărie numai pentru stabilirea și plata "
            "drepturilor solicitate și sunt transmise instituțiilor prevăzute de lege "
            "(agenția pentru plăți și inspecție socială, furnizorii de energie, trezoreria), "
            "potrivit Regulamentului (UE) 2016/679.", size=8, sb=200)
    doc.par("Rezervat primăriei: cerere verificată de ...................................., "
            "data ....................", align="l", size=8, sb=120)


def mod_cerere_s():
    doc = Document("Cerere – forma prescurtată", font="Arial", size=10,
                   margins_cm=(2.0, 1.5, 1.2, 1.2))
    _form_heading(doc, "Anexa nr. 2 la normele metodologice",
                  "CERERE – FORMA PRESCURTATĂ")
    doc.par("pentru modificarea cererii depuse sau pentru acordarea unor drepturi noi",
            align="c", bold=True, sa=120)
    _applicant(doc, full=False)
    _rights(doc)
    doc.par("**3. Furnizorul de energie termică:** [FURNTI], cod client: [CODCLTI]",
            align="l", sb=120)
    doc.par("**4. Suplimentul pentru energie se solicită pentru:**", align="l", sb=120,
            keepn=True)
    _supplement_table(doc)
    doc.par("**5. Venitul net lunar total al familiei:** [TVENIT] lei", align="l", sb=120)
    doc.par("Declar pe propria răspundere că celelalte date din cererea inițială au rămas "
            "neschimbate și că datele de mai sus sunt adevărate și complete.", sb=120)
    doc.par("Numele și prenumele: [NUME] [PRENUME]", align="l", sb=200)
    doc.par("Data: [DataCere]\tSemnătura ...........................", align="l",
            tabs=[("l", 7.0)], sb=120)
    doc.raw("{\\v " + MARKER + "}")
    _form_tail(doc)
    return doc


def ancheta():
    doc = Document("Ancheta socială", font="Arial", size=10,
                   margins_cm=(2.0, 1.5, 1.2, 1.2))
    doc.par("Anexa nr. 3 la normele metodologice", align="r", bold=True, size=9, sa=0)
    doc.par("Primăria [UAT]", align="l", bold=True, sa=0)
    doc.par("Compartimentul de asistență socială", align="l", sa=200)
    doc.par("ANCHETĂ SOCIALĂ", align="c", bold=True, size=14, sa=0)
    doc.par("pentru verificarea situației familiei solicitante a ajutorului pentru "
            "încălzirea locuinței și a suplimentului pentru energie", align="c", sa=200)
    doc.par("Efectuată la data de [DataAzi], în urma cererii nr. [Nr_Cere] din [DataCere].",
            sa=120)
    doc.par("**1. Solicitantul:** [NUME] [PRENUME], CNP [CNP]", align="l", sa=40)
    doc.par("**2. Persoana îndreptățită:** [NUME] [PRENUME], CNP [CNP]", align="l", sa=40)
    doc.par("Domiciliul: ..........................................................."
            "...........................", align="l", sa=120)
    doc.par("**3. Componența familiei**", align="l", keepn=True)
    _family_table(doc, 5)
    doc.par("**4. Locuința:** ☐ casă  ☐ apartament; număr de camere: ......; calitatea: "
            "☐ proprietar  ☐ chiriaș  ☐ altă calitate; sistemul de încălzire: "
            "..............................", align="l", sb=120, sa=40)
    doc.par("**5. Veniturile familiei:** venit net lunar total [TVENIT] lei; venit net "
            "mediu lunar pe membru de familie [VENITM] lei.", align="l", sa=40)
    doc.par("**6. Bunuri deținute:** ......................................................."
            "..............................................", align="l", sa=40)
    doc.par("**7. Constatări:** ..........................................................."
            "..........................................", align="l", sa=40)
    doc.par("**8. Concluzii:** familia/persoana singură ☐ îndeplinește  ☐ nu îndeplinește "
            "condițiile pentru acordarea ajutorului pentru încălzirea locuinței și a "
            "suplimentului pentru energie.", align="l", sa=40)
    doc.signatures(["Titular,", "[TITULAR]"], ["Întocmit,", "[INTOCMIT]"], sb=300)
    doc.raw("{\\v " + MARKER + "}")
    doc.par("**Documente anexate anchetei:**", align="l", sb=240, keepn=True)
    for item in ["copia cererii și a declarației pe propria răspundere;",
                 "copii ale actelor de identitate ale membrilor familiei;",
                 "dovezi ale veniturilor;",
                 "alte documente ..................................................."]:
        doc.par("☐ " + item, align="l", li=0.5, sa=0, size=9)
    return doc


def trez_anx3():
    doc = Document("Centralizator trezorerie – Anexa nr. 3", size=11)
    doc.par("Anexa nr.3", align="r", bold=True, sa=120)
    doc.par("JUDETUL: [CODJUD] – [DENUMJUD]", align="l", bold=True, sa=0)
    doc.par("Unitatea administrativ-teritoriala: [CODUNIT] – [DENUMUNIT]", align="l",
            bold=True, sa=360)
    doc.par("CENTRALIZATOR", align="c", bold=True, size=14, sa=60)
    doc.par("privind sumele reprezentând dreptul social „[DenumireAjutor]”, cod "
            "[CODAJUTOR], plătite beneficiarilor", align="c", sa=120)
    doc.par("Nr. .......... / data [DATA]", align="c", sa=240)
    widths = [1.7, 4.1, 3.6, 3.7, 3.1]
    doc.row(["Nr.crt.", "Numar titulari drepturi de natura sociala",
             "Felul documentului de plata (CEC/OP)", "Nr/data documentului de plata",
             "Suma"], widths, header=True, size=10)
    doc.row(["1", "[NR1]", "CEC", "", "[Suma1]"], widths, size=10, align="ccccr")
    doc.row(["2", "[NR2]", "OP", "", "[Suma2]"], widths, size=10, align="ccccr")
    doc.row(["TOTAL", "[NR]", "", "", "[SUMA]"], widths, bold=True, size=10, align="ccccr")
    doc.par("Ordonator de credite,", align="l", bold=True, sb=480, sa=0)
    doc.par("[Primar]", align="l", sa=0)
    return doc


ALL = {
    "Stabilire.rtf": stabilire,
    "Modificare.rtf": modificare,
    "Respingere.rtf": respingere,
    "Referat.rtf": referat,
    "ModCerere.rtf": mod_cerere,
    "ModCerereS.rtf": mod_cerere_s,
    "ModelAncheta2.rtf": ancheta,
    "TrezAnx3.rtf": trez_anx3,
}
