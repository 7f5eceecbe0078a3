// The scrambling of the administrator password, bit for bit as the older installations
// stored it, so that a data folder moved from them keeps its password.
#include "admin/Password.h"

#include "engines/common/Codepage.h"

#include <cstdint>

namespace focaris {
namespace {

// The 32-bit linear congruential generator: R := R × 134775813 + 1 (mod 2^32); a draw
// for the range n is the integer part of R × n / 2^32.
class Generator {
public:
    explicit Generator(std::uint32_t seed) : r_(seed) {}
    int draw(int n)
    {
        r_ = r_ * 134775813u + 1u;
        return int((std::uint64_t(r_) * std::uint32_t(n)) >> 32);
    }

private:
    std::uint32_t r_;
};

} // namespace

QByteArray ScramblePasswordBytes(const QByteArray &password)
{
    std::uint32_t sum = 0;
    for (char c : password)
        sum += static_cast<unsigned char>(c);
    Generator g(sum);
    QByteArray s = password;
    const int k = g.draw(30) + 6;
    for (int n = 0; n < k; ++n) {
        const int p = g.draw(int(s.size())) + 1;
        const char c = char(g.draw(150) + 32);
        s.insert(p - 1, c);
    }
    const int m = g.draw(50) + 50;
    s.prepend(' ');
    // Positions below are counted from 1; the first byte is the exchange place.
    for (int n = 0; n < m; ++n) {
        const int i = g.draw(int(s.size()) - 2) + 2;
        const int j = g.draw(int(s.size()) - 2) + 2;
        s[0] = s[i - 1];
        s[i - 1] = s[j - 1];
        s[j - 1] = s[0];
    }
    return s;
}

QString ScramblePassword(const QString &password)
{
    const std::string bytes = text::utf8ToCp1250(password.toStdString());
    const QByteArray scrambled = ScramblePasswordBytes(QByteArray::fromStdString(bytes));
    return QString::fromStdString(text::cp1250ToUtf8(scrambled.toStdString()));
}

} // namespace focaris
