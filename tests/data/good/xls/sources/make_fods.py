#!/usr/bin/python3
# Writes the flat OpenDocument spreadsheets from which LibreOffice makes the test
# workbooks (see make_workbooks.sh): a payment-statement template and a workbook with
# many kinds of cells.
import sys
from xml.sax.saxutils import escape, quoteattr

HEAD = '''<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:styles>
 <style:style style:name="Good" style:family="table-cell"><style:text-properties fo:color="#006100"/></style:style>
</office:styles>
<office:automatic-styles>
 <number:date-style style:name="N1"><number:day number:style="long"/><number:text>.</number:text><number:month number:style="long"/><number:text>.</number:text><number:year number:style="long"/></number:date-style>
 <number:number-style style:name="N2"><number:number number:decimal-places="2" number:min-integer-digits="1"/></number:number-style>
 <style:style style:name="ro1" style:family="table-row"><style:table-row-properties style:row-height="0.9cm" style:use-optimal-row-height="false"/></style:style>
 <style:style style:name="co1" style:family="table-column"><style:table-column-properties style:column-width="3.5cm"/></style:style>
 <style:style style:name="bold" style:family="table-cell"><style:text-properties fo:font-weight="bold"/></style:style>
 <style:style style:name="date" style:family="table-cell" style:data-style-name="N1"/>
 <style:style style:name="money" style:family="table-cell" style:data-style-name="N2"><style:table-cell-properties fo:border="0.5pt solid #000000"/></style:style>
 <style:style style:name="cond" style:family="table-cell"><style:map style:condition="cell-content()&gt;0" style:apply-style-name="Good" style:base-cell-address="Cumulat.A20"/></style:style>
</office:automatic-styles>
<office:body><office:spreadsheet>
'''
TAIL = '</office:spreadsheet></office:body></office:document>\n'


def cell(v, style=None, span=None, href=None):
    """One cell: str → text, int/float → number, ('=', formula) → formula, ('d', iso) → date."""
    a = ' table:style-name=%s' % quoteattr(style) if style else ''
    if span:
        a += ' table:number-columns-spanned="%d"' % span
    if v is None:
        return '<table:table-cell%s/>' % a
    if isinstance(v, tuple) and v[0] == '=':
        return '<table:table-cell%s table:formula=%s office:value-type="float" office:value="0"/>' % (
            a, quoteattr('of:=' + v[1]))
    if isinstance(v, tuple) and v[0] == 'd':
        return '<table:table-cell%s office:value-type="date" office:date-value="%s"><text:p>%s</text:p></table:table-cell>' % (
            a, v[1], v[1])
    if isinstance(v, bool):
        return '<table:table-cell%s office:value-type="boolean" office:boolean-value="%s"><text:p>%s</text:p></table:table-cell>' % (
            a, 'true' if v else 'false', v)
    if isinstance(v, (int, float)):
        return '<table:table-cell%s office:value-type="float" office:value="%r"><text:p>%r</text:p></table:table-cell>' % (a, v, v)
    body = escape(v)
    if href:
        body = '<text:a xlink:href=%s>%s</text:a>' % (quoteattr(href), body)
    return '<table:table-cell%s office:value-type="string"><text:p>%s</text:p></table:table-cell>' % (a, body)


def table(name, rows, columns=16):
    """rows: {row number: [cells from column A]}; a cell is a value or a dict of cell() args."""
    out = ['<table:table table:name=%s>' % quoteattr(name),
           '<table:table-column table:style-name="co1" table:number-columns-repeated="%d"/>' % columns]
    last = max(rows)
    for r in range(1, last + 1):
        cells = rows.get(r, [])
        height = ' table:style-name="ro1"' if r == 11 else ''
        parts = []
        skip = 0
        for c in cells:
            if skip:
                parts.append('<table:covered-table-cell/>')
                skip -= 1
                continue
            if isinstance(c, dict):
                parts.append(cell(**c))
                skip = c.get('span', 1) - 1
            else:
                parts.append(cell(c))
        out.append('<table:table-row%s>%s</table:table-row>' % (height, ''.join(parts) or '<table:table-cell/>'))
    out.append('</table:table>')
    return '\n'.join(out)


def statement():
    def sheet(subject, data, totals):
        rows = {1: ['R O M A N I A'], 2: ['#Judet'], 3: ['#Primaria'],
                4: [{'v': 'SITUATIE PLATI', 'style': 'bold'}], 5: [subject], 6: ['#Luna'],
                8: ['Nr. crt.', 'Beneficiarul ajutorului', 'CNP', 'Numar dispozitie primar',
                    'Data', 'Adresa beneficiarului', 'Compensare procentuala', 'Perioada'],
                11: data, 12: totals,
                15: [None, None, None, None, '#P1', None, None, '#C1'],
                16: [None, None, None, None, '#PRIMAR', None, None, '#C2'],
                18: [None, None, None, None, None, None, '#I1'],
                19: [None, None, None, None, None, None, '#I2']}
        return rows
    m = lambda c: ('=', 'SUM([.%s11:.%s11])' % (c, c))
    cumulat = sheet('Ajutor si suplimente',
                    ['%NRCRT', '#Titular', '#CNP', '#NRDISP', {'v': '#DATADISP', 'style': 'date'},
                     '#ADRESA', '#CUANTUM', '#NR_LUNI', {'v': '#SUMAL', 'style': 'money'},
                     {'v': '#SUMAG', 'style': 'money'}, {'v': '#SUMAT', 'style': 'money'},
                     {'v': '#SUMAE', 'style': 'money'},
                     {'v': ('=', '[.I11]+[.J11]+[.K11]+[.L11]'), 'style': 'money'}, None, '#DBF'],
                    [None, None, None, None, None, 'TOTAL GENERAL', None, None,
                     m('I'), m('J'), m('K'), m('L'), m('M')])
    # Below the data row: a merged area, a hyperlink and a conditional format that must
    # move with their rows, and a reference to the data row from another sheet.
    cumulat[21] = [{'v': 'Zona unita', 'span': 3}]
    cumulat[22] = [{'v': 'Legatura', 'href': 'https://example.org/plati'}]
    cumulat[20] = [{'v': 5, 'style': 'cond'}, {'v': 0, 'style': 'cond'}, {'v': -1, 'style': 'cond'}]
    ajutoare = sheet('Ajutor incalzire',
                     ['%NRCRT', '#Titular', '#CNP', '#NRDISP', '#DATADISP', '#ADRESA', '#CUANTUM',
                      '#NR_LUNI', None, '#DBF'], [None])
    supl = sheet('Suplimente energie',
                 ['%NRCRT', '#Titular', '#CNP', '#NRDISP', '#DATADISP', '#ADRESA', '#SUMAL', '#SUMAG',
                  '#SUMAT', '#SUMAE', ('=', '[.G11]+[.H11]+[.I11]+[.J11]'), None, '#DBF'],
                 [None, None, None, None, None, 'TOTAL GENERAL', m('G'), m('H'), m('I'), m('J'), m('K')])
    supl[25] = ['Total din Cumulat', ('=', '[$Cumulat.M12]')]
    return HEAD + table('Cumulat', cumulat) + table('Ajutoare', ajutoare) + table('Suplimente', supl) + TAIL


def mixed():
    rows = {1: ['Text', 'Număr', 'Dată', 'Logic', 'Formulă', 'Eroare'],
            2: ['Școala Țăndărei', 3.25, {'v': ('d', '2023-12-31'), 'style': 'date'}, True,
                ('=', '[.B2]*2'), ('=', '1/0')],
            3: ['ăâîșț ĂÂÎȘȚ', -17, {'v': ('d', '1900-03-01'), 'style': 'date'}, False,
                ('=', '[.B3]*2'), ('=', 'NA()')],
            4: ['x' * 300, 1e15, None, None, ('=', 'CONCATENATE([.A2];"!")'), None]}
    for r in range(5, 405):
        rows[r] = ['sir unic numarul %04d cu ceva text' % r, r, r * 0.01, r % 3 == 0,
                   ('=', '[.B%d]+[.C%d]' % (r, r)), ('=', "[$'Al doilea'.A1]*%d" % r)]
    second = {1: [7], 2: ['pe a doua foaie'], 3: [{'v': 'unite', 'span': 2}]}
    return HEAD + table('Foaie', rows, 8) + table('Al doilea', second, 4) + TAIL


if __name__ == '__main__':
    out = sys.argv[1] if len(sys.argv) > 1 else '.'
    open(out + '/stat.fods', 'w', encoding='utf-8').write(statement())
    open(out + '/mixed.fods', 'w', encoding='utf-8').write(mixed())
