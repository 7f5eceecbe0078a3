// The supplier workbook in the Excel 2007 format, read back with python3-xlrd.
#include "XlsTestSupport.h"

#include "TestSupport.h"
#include "engines/xls/Bytes.h"
#include "engines/xls/XlsxWriter.h"

#include <gtest/gtest.h>

using namespace focaris::xls;
using focaris::test::TempDir;

TEST(Xlsx, SupplierWorkbookHasTheHeadersAndNumbersAsNumbers)
{
    TempDir dir;
    EonApplication gas;
    gas.uat = "Reghin";
    gas.dispositionNo = "12/01.12.2023";
    gas.amount = 20.5;
    gas.customerCode = "C1";
    gas.holder = "POP";
    gas.beneficiary = "ȘERBAN ION VASILE";
    gas.members = 3;
    gas.incomePerMember = 812.25;
    gas.month = "202312";
    EonApplication el = gas;
    el.gas = false;
    const auto path = dir / "Suplimente_Gaz.xlsx";
    writeXlsx(path.string(), eonHeaders(), {eonRow(gas), eonRow(el)});

    const std::string script = "import sys, xlrd\n"
                               "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                               "print(s.ncols, s.nrows)\n"
                               "print('|'.join(s.row_values(0)))\n"
                               "for r in (1, 2):\n"
                               "    print('|'.join('%d:%r' % (c.ctype, c.value) for c in s.row(r)))\n";
    focaris::test::writeFile(dir / "read.py", script);
    std::string out;
    ASSERT_EQ(focaris::test::run("/usr/bin/python3 " + (dir / "read.py").string() + " " + path.string(), &out, true), 0)
        << out;
    EXPECT_NE(out.find("27 3\nCRC|Primarie|Nr Dispozitie|Ajutor Total|Ajutor Stat|Ajutor Local|"
                       "Cod Abonat|Nume Titular|Prenume Titular|Tip Client|Nume Beneficiar|"
                       "Prenume Beneficiar|CNP Beneficiar|Judet|Cod Loc|Localitate|Cod Str|Strada|"
                       "Numar|Supliment|Bloc|AP|Punct Consum|Instalatie|Numar Membri|Venit Membru|"
                       "Luna Ajutor\n"),
              std::string::npos)
        << out;
    // Amounts, client type and members are numbers; the holder without a blank is all
    // surname; the month is text.
    EXPECT_NE(out.find("0:''|1:'Reghin'|1:'12/01.12.2023'|2:20.5|2:20.5|2:0.0|1:'C1'|1:'POP'|"
                       "0:''|2:1010.0|1:'ȘERBAN'|1:'ION VASILE'|"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("|2:8010.0|"), std::string::npos) << out;
    EXPECT_NE(out.find("|2:3.0|2:812.25|1:'202312'"), std::string::npos) << out;

    EXPECT_THROW(writeXlsx((dir / "no" / "such" / "x.xlsx").string(), eonHeaders(), {}), XlsError);
}
