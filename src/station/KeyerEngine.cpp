#include "station/KeyerEngine.h"

#include <QHash>
#include <algorithm>
#include <thread>

namespace Keyer {

int clampSpeed(int speed)
{
    return std::clamp(speed, minSpeed, maxSpeed);
}

int dotLength(int speed)
{
    const int s = clampSpeed(speed);
    const int whole = 6000 / s;
    const int rest = 6000 % s;
    if (2 * rest > s || (2 * rest == s && whole % 2 == 1))
        return whole + 1;
    return whole;
}

QString code(QChar c)
{
    static const QHash<QChar, QString> table = [] {
        const char *pairs[][2] = {
            {"A", ".-"},     {"B", "-..."},   {"C", "-.-."},   {"D", "-.."},    {"E", "."},      {"F", "..-."},
            {"G", "--."},    {"H", "...."},   {"I", ".."},     {"J", ".---"},   {"K", "-.-"},    {"L", ".-.."},
            {"M", "--"},     {"N", "-."},     {"O", "---"},    {"P", ".--."},   {"Q", "--.-"},   {"R", ".-."},
            {"S", "..."},    {"T", "-"},      {"U", "..-"},    {"V", "...-"},   {"W", ".--"},    {"X", "-..-"},
            {"Y", "-.--"},   {"Z", "--.."},   {"0", "-----"},  {"1", ".----"},  {"2", "..---"},  {"3", "...--"},
            {"4", "....-"},  {"5", "....."},  {"6", "-...."},  {"7", "--..."},  {"8", "---.."},  {"9", "----."},
            {"=", "-...-"},  {"/", "-..-."},  {"\\", "-..-."}, {"?", "..--.."}, {",", "--..--"}, {"!", "--..--"},
            {":", "---..."},
        };
        QHash<QChar, QString> t;
        for (const auto &p : pairs)
            t.insert(QChar::fromLatin1(p[0][0]), QString::fromLatin1(p[1]));
        return t;
    }();
    return table.value(c.toUpper());
}

void SteadyClock::wait(int ms)
{
    using namespace std::chrono;
    const auto now = steady_clock::now();
    // Back-to-back elements run from the previous deadline; after a pause
    // (a letter gap on the timer, an idle keyer) the wait starts now.
    const auto base = deadline_ + milliseconds(20) >= now ? deadline_ : now;
    deadline_ = base + milliseconds(ms);
    std::this_thread::sleep_until(deadline_);
}

namespace {

void dropFront(Buffer &buffer)
{
    buffer.setSendLine(buffer.sendLine().mid(1));
}

} // namespace

RunResult send(Buffer &buffer, int &elementStep, int speed, KeyLine &line, Clock &clock)
{
    const int dot = dotLength(speed);
    const int letterGap = 3 * dot;
    auto element = [&](Line state, int ms) {
        if (!line.set(state))
            return false;
        clock.wait(ms);
        return true;
    };
    auto gap = [&]() -> RunResult {
        if (!line.set(Line::KeyUp))
            return {Stop::Refused, 0};
        return {Stop::LetterGap, letterGap};
    };
    for (;;) {
        if (buffer.sendLine().isEmpty()) {
            buffer.setSendLine(buffer.takeLine());
            if (buffer.sendLine().isEmpty() && buffer.typeAheadEmpty())
                return {Stop::Empty, 0};
            if (buffer.sendLine().isEmpty())
                continue;
        }
        const QString text = buffer.sendLine();
        if (text.startsWith(QLatin1String("<RX>"))) {
            buffer.setSendLine(QString());
            return {Stop::Rx, 0};
        }
        const QChar c = text.front();
        if (c == u' ' || c == u'-') {
            // A word space: two letter gaps on top of the one before it.
            if (elementStep == 1) {
                dropFront(buffer);
                elementStep = 0;
            } else {
                elementStep = 1;
            }
            return gap();
        }
        if (c == u'#' || c == u'&') {
            // Paddle marks: one element, then only the element gap.
            if (elementStep == 0) {
                if (!element(Line::KeyDown, c == u'#' ? dot : 3 * dot))
                    return {Stop::Refused, 0};
                elementStep = 1;
            } else {
                dropFront(buffer);
                elementStep = 0;
                if (!element(Line::KeyUp, dot))
                    return {Stop::Refused, 0};
            }
            continue;
        }
        const QString elements = code(c);
        const int n = int(elements.size());
        if (n == 0 || elementStep >= 2 * n) {
            dropFront(buffer);
            elementStep = 0;
            continue;
        }
        if (elementStep % 2 == 0) {
            const int length = elements.at(elementStep / 2) == u'.' ? dot : 3 * dot;
            if (!element(Line::KeyDown, length))
                return {Stop::Refused, 0};
            ++elementStep;
        } else if (elementStep < 2 * n - 1) {
            if (!element(Line::KeyUp, dot))
                return {Stop::Refused, 0};
            ++elementStep;
        } else {
            dropFront(buffer);
            elementStep = 0;
            return gap();
        }
    }
}

QChar paddleMark(int status)
{
    if (status == 0x5F)
        return u'#';
    if (status == 0x6F)
        return u'&';
    return QChar();
}

bool sendPaddle(QString &marks, int &paddleStep, int speed, KeyLine &line, Clock &clock)
{
    const int dot = dotLength(speed);
    while (!marks.isEmpty()) {
        const QChar m = marks.front();
        if (m != u'#' && m != u'&') {
            marks.remove(0, 1);
            continue;
        }
        if (paddleStep == 0) {
            if (!line.set(Line::KeyDown))
                return false;
            clock.wait(m == u'#' ? dot : 3 * dot);
            paddleStep = 1;
        } else {
            marks.remove(0, 1);
            paddleStep = 0;
            if (!line.set(Line::KeyUp))
                return false;
            clock.wait(dot);
        }
    }
    return true;
}

Macro expandMacro(const QString &text, const MacroFields &fields)
{
    Macro m;
    m.text = text;
    auto removeFirst = [&m](const QString &tag) {
        const auto at = m.text.indexOf(tag);
        if (at < 0)
            return false;
        m.text.remove(at, tag.size());
        return true;
    };
    auto replace = [&m](const QString &tag, const QString &value, int times) {
        for (int i = 0; i < times; ++i) {
            const auto at = m.text.indexOf(tag);
            if (at < 0)
                return;
            m.text.replace(at, tag.size(), value);
        }
    };
    m.clear = removeFirst(QStringLiteral("<CL>"));
    replace(QStringLiteral("<CALL>"), fields.call, 3);
    replace(QStringLiteral("<RSTTX>"), fields.rstTx, 3);
    replace(QStringLiteral("<RSTRX>"), fields.rstRx, 2);
    replace(QStringLiteral("<NAME>"), fields.name, 2);
    replace(QStringLiteral("<IDTX>"), fields.idTx, 3);
    replace(QStringLiteral("<IDRX>"), fields.idRx, 2);
    m.transmit = removeFirst(QStringLiteral("<TX>"));
    return m;
}

} // namespace Keyer
