#include "util/TimeText.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// The low 32 bits of a value, as the two's-complement integer they spell.
qint32 Low32(qint64 value)
{
    return static_cast<qint32>(static_cast<quint32>(static_cast<quint64>(value)));
}

// atoi's reading (spaces, sign, digits) without its undefined overflow: the value saturates at
// the 64-bit range and then keeps its low 32 bits, which is what the C library does here.
qint32 LeadingInteger(const char *text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    constexpr quint64 limit = static_cast<quint64>(std::numeric_limits<qint64>::max());
    quint64 magnitude = 0;
    while (std::isdigit(static_cast<unsigned char>(*text))) {
        const unsigned digit = static_cast<unsigned>(*text - '0');
        magnitude =
            magnitude > (limit - digit) / 10 ? limit + (negative ? 1 : 0) : magnitude * 10 + digit;
        ++text;
    }
    const quint64 bits = negative ? ~magnitude + 1 : magnitude;
    return Low32(static_cast<qint64>(bits));
}

// Products are taken in 32 bits and wrap, as the clock text readers always have.
qint32 Times32(qint32 value, quint32 factor)
{
    return static_cast<qint32>(static_cast<quint32>(value) * factor);
}

} // namespace

QString FormatTime(qint64 seconds)
{
    if (seconds < 0) {
        return QString::asprintf("00:00:%02d", Low32(seconds));
    }
    if (seconds >= 3600) {
        const qint64 hours = seconds / 3600;
        const qint64 minutes = (seconds - hours * 3600) / 60;
        return QString::asprintf("%02d:%02d:%02d", Low32(hours), Low32(minutes),
                                 Low32(seconds % 60));
    }
    if (seconds >= 60) {
        return QString::asprintf("00:%02d:%02d", Low32(seconds / 60), Low32(seconds % 60));
    }
    return QString::asprintf("00:00:%02d", Low32(seconds));
}

qint64 ParseTime(const char *text)
{
    if (text == nullptr) {
        return 0;
    }
    qint64 total = Times32(LeadingInteger(text), 3600);
    const char *afterHours = std::strchr(text, ':');
    if (afterHours != nullptr) {
        ++afterHours;
        total += Times32(LeadingInteger(afterHours), 60);
        const char *afterMinutes = std::strchr(afterHours, ':');
        if (afterMinutes != nullptr) {
            total += LeadingInteger(afterMinutes + 1);
        }
    }
    return total;
}

int WholeSeconds(qint64 milliseconds)
{
    return SecondsAsInt(milliseconds / 1000);
}

int SecondsAsInt(qint64 seconds)
{
    return static_cast<int>(std::clamp<qint64>(seconds, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}
