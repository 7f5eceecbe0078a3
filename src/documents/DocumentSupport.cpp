// What every document of the month shares.
#include "documents/DocumentSupport.h"

#include "core/Context.h"
#include "core/DataStore.h"
#include "engines/common/FileNames.h"

#include <QFileInfo>

#include <stdexcept>

namespace focaris::documents {

QString DataFile(const QString &name)
{
    const QString plain = DataFolder() + QLatin1Char('/') + name;
    return QString::fromStdString(files::resolveCaseInsensitive(plain.toStdString()).string());
}

bool FileExists(const QString &path)
{
    return QFileInfo(path).isFile();
}

ProgressScope::ProgressScope(Ui &ui, const QString &text, int maximum) : ui_(ui)
{
    // At most about two hundred visible steps, whatever the number of records.
    every_ = maximum > 200 ? (maximum + 199) / 200 : 1;
    ui_.progressShow(text, maximum > 200 ? (maximum + every_ - 1) / every_ : maximum);
}

ProgressScope::~ProgressScope()
{
    ui_.progressHide();
}

void ProgressScope::step()
{
    if (++count_ % every_ == 0)
        ui_.progressStep();
}

sql::ResultSet ReadApplication(qint64 nrcrt)
{
    return QuerySql(QStringList{QStringLiteral("SELECT * FROM ") + Quoted(TablePath(QStringLiteral("Cereri.dbf"))),
                                QStringLiteral("WHERE NRCRT=") + QString::number(nrcrt)});
}

int Columns::operator[](const char *name) const
{
    const int i = rows_.columnIndex(name);
    if (i < 0)
        throw std::runtime_error(std::string("the applications table has no column ") + name);
    return i;
}

} // namespace focaris::documents
