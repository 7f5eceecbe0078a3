// Reading and writing "Luni.lst".
#include "periods/MonthList.h"

#include "core/Context.h"
#include "engines/common/Codepage.h"
#include "engines/common/FileNames.h"

#include <QFile>
#include <QSaveFile>

#include <stdexcept>

namespace focaris::periods {

QString MonthListPath()
{
    const std::filesystem::path asked = (DataFolder() + QStringLiteral("/Luni.lst")).toStdString();
    return QString::fromStdString(files::resolveCaseInsensitive(asked).string());
}

QStringList ReadMonthList()
{
    QFile file(MonthListPath());
    QStringList months;
    if (!file.open(QIODevice::ReadOnly))
        return months;
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromStdString(text::cp1250ToUtf8(std::string_view(bytes.constData(), bytes.size())));
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (!line.isEmpty())
            months << line;
    }
    return months;
}

void WriteMonthList(const QStringList &months)
{
    const QString path = MonthListPath();
    if (months.isEmpty()) {
        if (QFile::exists(path) && !QFile::remove(path))
            throw std::runtime_error("Nu pot sterge " + path.toStdString());
        return;
    }
    std::string bytes;
    for (const QString &m : months)
        bytes += text::utf8ToCp1250(m.toStdString()) + "\r\n";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw std::runtime_error("Nu pot scrie " + path.toStdString());
}

} // namespace focaris::periods
