"""The two legislation notes of the "Liste / Formulare" menu: for each act, what it is
(number, date, official journal), what a clerk applying it needs to know, and where the
official consolidated text is. They are our own summaries, not the text of the acts.
"""

from rtfgen import Document

PORTAL = "https://legislatie.just.ro"

BRACKETS = [("până la 200 lei", "100%"), ("200,1 – 320 lei", "90%"),
            ("320,1 – 440 lei", "80%"), ("440,1 – 560 lei", "70%"),
            ("560,1 – 680 lei", "60%"), ("680,1 – 920 lei", "50%"),
            ("920,1 – 1.040 lei", "40%"), ("1.040,1 – 1.160 lei", "30%"),
            ("1.160,1 – 1.280 lei", "20%"), ("1.280,1 – 1.386 lei", "10%"),
            ("persoana singură: 1.386,1 – 2.053 lei", "10%")]


def _title(doc, kind, title, issued, journal):
    doc.par("NOTĂ DE LUCRU", align="c", bold=True, size=10, sa=0)
    doc.par(kind, align="c", bold=True, size=15, sa=60)
    doc.par(title, align="c", bold=True, size=12, sa=120)
    doc.par(issued, align="c", sa=0)
    doc.par(journal, align="c", sa=240)
    doc.par("~~Această notă rezumă actul pentru uzul compartimentului de asistență socială. "
            "Nu înlocuiește textul oficial: înainte de a aplica o prevedere, consultați "
            "forma consolidată în vigoare.~~", size=10, sa=240)


def _section(doc, title):
    doc.par("**" + title + "**", align="l", sb=200, sa=80, keepn=True)


def _bullets(doc, items):
    for item in items:
        doc.par("– " + item, li=0.6, fi=-0.4, sa=40)


def law_226():
    doc = Document("Legea nr. 226/2021 – notă de lucru", size=11)
    _title(doc, "LEGEA nr. 226/2021",
           "privind stabilirea măsurilor de protecție socială pentru consumatorul "
           "vulnerabil de energie",
           "Emitent: Parlamentul României; data actului: 16 septembrie 2021",
           "Publicată în Monitorul Oficial al României, Partea I, nr. 891 din 16 septembrie "
           "2021; se aplică de la 1 noiembrie 2021")
    _section(doc, "1. Ce reglementează")
    doc.par("Legea stabilește criteriile după care familiile și persoanele singure sunt "
            "consumatori vulnerabili de energie și măsurile de protecție socială pentru "
            "aceștia: ajutorul pentru încălzirea locuinței în sezonul rece (1 noiembrie – "
            "31 martie) și suplimentul pentru energie acordat lunar, pe tot parcursul "
            "anului.")
    _section(doc, "2. Cine are dreptul")
    _bullets(doc, [
        "familiile și persoanele singure cu venitul net mediu lunar pe membru de familie "
        "de până la 1.386 lei, respectiv persoanele singure cu venitul net lunar de până "
        "la 2.053 lei;",
        "dreptul se stabilește pentru locuința de domiciliu sau de reședință, pentru "
        "sistemul de încălzire folosit efectiv (energie termică în sistem centralizat, "
        "gaze naturale, energie electrică, combustibili solizi și/sau petrolieri);",
        "nu beneficiază familiile care dețin bunuri ce exclud dreptul (lista bunurilor "
        "este dată în anexa la lege și reluată în formularul de cerere);",
        "beneficiarii ajutorului social (venitul minim garantat) și ai alocației pentru "
        "susținerea familiei primesc dreptul pe baza cererii, cu verificarea datelor "
        "deja cunoscute de primărie."])
    _section(doc, "3. Tranșele de venit și nivelul de compensare")
    doc.par("Ajutorul pentru încălzire se acordă ca procent de compensare din valoarea "
            "consumului, după venitul net mediu lunar pe membru de familie:", sa=80)
    widths = [9.0, 4.0]
    doc.row(["Venit net mediu lunar pe membru de familie", "Compensare"], widths,
            header=True, size=10)
    for income, pct in BRACKETS:
        doc.row([income, pct], widths, size=10, align="lc")
    doc.par("Valorile de mai sus sunt cele inițiale ale legii; programul le păstrează ca "
            "parametri la Administrare, astfel încât o modificare ulterioară a limitelor "
            "se introduce fără o versiune nouă.", size=10, sb=80)
    _section(doc, "4. Suplimentul pentru energie")
    _bullets(doc, [
        "se acordă lunar, pentru fiecare sursă de energie folosită, familiilor și "
        "persoanelor singure care îndeplinesc condițiile de venit;",
        "cuantumuri inițiale: 20 lei pentru combustibili solizi și/sau petrolieri, "
        "10 lei pentru gaze naturale, 10 lei pentru energie termică, 30 lei pentru "
        "energie electrică, respectiv 70 lei când energia electrică este singura sursă de "
        "energie a locuinței;",
        "suplimentul pentru gaze, energie electrică și energie termică se plătește prin "
        "furnizor (scăzut din factură); cel pentru combustibili solizi se plătește direct "
        "beneficiarului, prin trezorerie."])
    _section(doc, "5. Documente și termene")
    _bullets(doc, [
        "cererea și declarația pe propria răspundere (formularul din normele "
        "metodologice), însoțite de actele doveditoare privind componența familiei, "
        "veniturile și locuința;",
        "luna de la care se acordă dreptul depinde de data depunerii cererii, potrivit "
        "legii; cererile depuse după începerea sezonului rece dau dreptul numai pentru "
        "lunile rămase din sezon;",
        "primarul emite dispoziția de acordare sau de respingere, care se comunică "
        "solicitantului; contestația se face la instanța de contencios administrativ;",
        "titularul comunică orice modificare a componenței familiei sau a veniturilor "
        "în termen de 5 zile;",
        "primăria transmite lunar agenției județene pentru plăți și inspecție socială "
        "situațiile centralizatoare și listele de beneficiari, iar furnizorilor listele "
        "clienților lor."])
    _section(doc, "6. Textul oficial")
    doc.par("Forma consolidată în vigoare se găsește pe Portalul legislativ al Ministerului "
            "Justiției, " + PORTAL + " (căutare: „Legea 226/2021”).")
    return doc


def hg_1073():
    doc = Document("H.G. nr. 1073/2021 – notă de lucru", size=11)
    _title(doc, "HOTĂRÂREA GUVERNULUI nr. 1073/2021",
           "pentru aprobarea Normelor metodologice de aplicare a prevederilor Legii "
           "nr. 226/2021 privind stabilirea măsurilor de protecție socială pentru "
           "consumatorul vulnerabil de energie",
           "Emitent: Guvernul României; data actului: 4 octombrie 2021",
           "Publicată în Monitorul Oficial al României, Partea I, nr. 968 din 11 octombrie "
           "2021; în vigoare de la 1 noiembrie 2021")
    _section(doc, "1. Ce cuprind normele")
    _bullets(doc, [
        "procedura de depunere și de soluționare a cererilor pentru ajutorul de încălzire "
        "și suplimentul pentru energie;",
        "modelele formularelor: cererea și declarația pe propria răspundere, forma "
        "prescurtată a cererii, ancheta socială, situațiile centralizatoare și listele "
        "de beneficiari transmise agenției județene și furnizorilor;",
        "modul de calcul al consumului și al ajutorului efectiv pentru fiecare sursă de "
        "energie, pe baza datelor transmise de furnizori și de asociațiile de "
        "proprietari;",
        "documentele de plată și decontarea sumelor între primărie, agenția județeană, "
        "furnizori și trezorerie."])
    _section(doc, "2. Pașii compartimentului de asistență socială")
    _bullets(doc, [
        "înregistrează cererea și verifică actele doveditoare; la nevoie efectuează "
        "ancheta socială;",
        "stabilește venitul net mediu lunar pe membru de familie și, după tranșa de "
        "venit, nivelul de compensare și suplimentele cuvenite;",
        "întocmește referatul și proiectul de dispoziție; după semnare, comunică "
        "dispoziția titularului;",
        "transmite furnizorilor listele beneficiarilor și agenției județene situațiile "
        "lunare (anexele privind beneficiarii, numărul acestora și sumele plătite);",
        "pentru suplimentul de combustibili solizi, întocmește statul de plată și "
        "documentele pentru trezorerie."])
    _section(doc, "3. Termene de reținut")
    _bullets(doc, [
        "luna de început a dreptului se stabilește după data depunerii cererii, cum "
        "prevăd legea și normele;",
        "modificările comunicate de titular se analizează și, după caz, se emite "
        "dispoziție de modificare sau de încetare;",
        "situațiile lunare către agenția județeană și listele către furnizori se transmit "
        "în termenele stabilite de norme; verificați-le în forma consolidată."])
    _section(doc, "4. Textul oficial")
    doc.par("Forma consolidată în vigoare, cu anexele (formularele), se găsește pe "
            "Portalul legislativ al Ministerului Justiției, " + PORTAL +
            "/Public/DetaliiDocument/247311.")
    return doc


ALL = {"L226": law_226, "HG1073": hg_1073}
