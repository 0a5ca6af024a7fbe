#include "support/RtfReader.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <algorithm>
#include <cctype>
#include <vector>

namespace {
// Windows code page 1252 for 0x80-0x9F, where it differs from Latin-1; RTF writers use it for
// curly quotes and dashes even when they declare no code page. 0 marks an unassigned byte.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QChar fromCodePage(uchar byte)
{
    if (byte >= 0x80 && byte < 0xA0 && cp1252High[byte - 0x80] != 0)
        return QChar(cp1252High[byte - 0x80]);
    return QLatin1Char(char(byte));
}

// Destinations whose content is not document text.
bool isSkippedDestination(const QByteArray& word)
{
    static const QSet<QByteArray> skipped = {"fonttbl",
                                             "stylesheet",
                                             "info",
                                             "pict",
                                             "object",
                                             "header",
                                             "headerl",
                                             "headerr",
                                             "headerf",
                                             "footer",
                                             "footerl",
                                             "footerr",
                                             "footerf",
                                             "footnote",
                                             "fldinst",
                                             "listtable",
                                             "listoverridetable",
                                             "rsidtbl",
                                             "generator",
                                             "xmlnstbl",
                                             "themedata",
                                             "colorschememapping",
                                             "latentstyles",
                                             "datastore",
                                             "filetbl",
                                             "revtbl",
                                             "nonshppict",
                                             "annotation"};
    return skipped.contains(word);
}

bool isUnderlineOn(const QByteArray& word)
{
    static const QSet<QByteArray> on = {"ul",     "uld",  "uldb",    "uldash", "ulw",
                                        "ulwave", "ulth", "uldashd", "ulhwave"};
    return on.contains(word);
}

const QHash<QByteArray, QChar>& namedCharacters()
{
    static const QHash<QByteArray, QChar> characters = {
        {"tab", QChar(u'\t')},        {"cell", QChar(u'\t')},       {"emdash", QChar(0x2014)},
        {"endash", QChar(0x2013)},    {"lquote", QChar(0x2018)},    {"rquote", QChar(0x2019)},
        {"ldblquote", QChar(0x201C)}, {"rdblquote", QChar(0x201D)}, {"bullet", QChar(0x2022)},
        {"emspace", QChar(0x2003)},   {"enspace", QChar(0x2002)},   {"qmspace", QChar(0x2005)}};
    return characters;
}

struct CharFormat
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int foreground = 0; // colour table index; 0 and unknown indexes are the automatic colour
    int background = 0;
    bool operator==(const CharFormat&) const = default;
};

struct GroupState
{
    CharFormat format;
    bool skip = false;
    bool colorTable = false;
    int unicodeSkip = 1;
};

class Parser
{
public:
    explicit Parser(const QByteArray& rtf) : m_in(rtf) {}

    QString run()
    {
        while (m_pos < m_in.size()) {
            const char c = m_in.at(m_pos++);
            if (c == '{') {
                m_stack.push_back(m_state);
            } else if (c == '}') {
                closeGroup();
            } else if (c == '\\') {
                escape();
            } else if (c != '\r' && c != '\n') {
                character(fromCodePage(uchar(c)));
            }
        }
        if (!m_paragraph.isEmpty() || !m_run.isEmpty())
            endParagraph();
        return QStringLiteral("<html><body>") + m_html + QStringLiteral("</body></html>");
    }

private:
    void closeGroup()
    {
        if (m_stack.empty())
            return;
        m_state = m_stack.back();
        m_stack.pop_back();
        m_pendingSkip = 0;
    }

    void escape()
    {
        if (m_pos >= m_in.size())
            return;
        const char c = m_in.at(m_pos);
        if (std::isalpha(uchar(c)))
            controlWord();
        else
            controlSymbol(m_in.at(m_pos++));
    }

    void controlSymbol(char c)
    {
        switch (c) {
        case '\'': {
            bool ok = false;
            const uint byte = m_in.mid(m_pos, 2).toUInt(&ok, 16);
            m_pos += 2;
            if (ok)
                character(fromCodePage(uchar(byte)));
            break;
        }
        case '*':
            m_state.skip = true;
            break;
        case '~':
            character(QChar(0x00A0));
            break;
        case '_':
            character(QChar(0x2011));
            break;
        case '\n':
        case '\r':
            controlWordNamed("par", std::nullopt);
            break;
        case '-':
            break;
        default: // \\, \{, \} and any other symbol stand for themselves
            character(QLatin1Char(c));
        }
    }

    void controlWord()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_in.size() && std::isalpha(uchar(m_in.at(m_pos))))
            ++m_pos;
        const QByteArray word = m_in.mid(start, m_pos - start);
        std::optional<int> parameter;
        const qsizetype digits = m_pos;
        if (m_pos < m_in.size() && m_in.at(m_pos) == '-')
            ++m_pos;
        while (m_pos < m_in.size() && std::isdigit(uchar(m_in.at(m_pos))))
            ++m_pos;
        if (m_pos > digits)
            parameter = std::clamp(m_in.mid(digits, m_pos - digits).toLongLong(), -(1LL << 31) + 1,
                                   (1LL << 31) - 1);
        if (m_pos < m_in.size() && m_in.at(m_pos) == ' ')
            ++m_pos;
        controlWordNamed(word, parameter);
    }

    void controlWordNamed(const QByteArray& word, std::optional<int> parameter)
    {
        if (word == "bin") {
            m_pos += std::clamp<qsizetype>(parameter.value_or(0), 0, m_in.size() - m_pos);
        } else if (word == "colortbl") {
            m_state.colorTable = true;
        } else if (isSkippedDestination(word)) {
            m_state.skip = true;
        } else if (m_state.colorTable) {
            colorComponent(word, parameter.value_or(0));
        } else if (word == "u" && parameter) {
            character(QChar(char16_t(*parameter < 0 ? *parameter + 65536 : *parameter)));
            m_pendingSkip = m_state.unicodeSkip;
        } else if (word == "uc") {
            m_state.unicodeSkip = std::max(0, parameter.value_or(1));
        } else if (!m_state.skip) {
            formatWord(word, parameter);
        }
    }

    void formatWord(const QByteArray& word, std::optional<int> parameter)
    {
        const bool on = parameter.value_or(1) != 0;
        CharFormat& format = m_state.format;
        if (word == "par" || word == "row" || word == "sect" || word == "page")
            endParagraph();
        else if (word == "line")
            appendHtml(QStringLiteral("<br/>"));
        else if (namedCharacters().contains(word))
            character(namedCharacters().value(word));
        else if (word == "b")
            format.bold = on;
        else if (word == "i")
            format.italic = on;
        else if (isUnderlineOn(word))
            format.underline = on;
        else if (word == "ulnone")
            format.underline = false;
        else if (word == "plain")
            format = CharFormat();
        else if (word == "cf")
            format.foreground = parameter.value_or(0);
        else if (word == "cb" || word == "highlight" || word == "chcbpat")
            format.background = parameter.value_or(0);
    }

    void colorComponent(const QByteArray& word, int value)
    {
        const int component = std::clamp(value, 0, 255);
        if (word == "red")
            m_color[0] = component;
        else if (word == "green")
            m_color[1] = component;
        else if (word == "blue")
            m_color[2] = component;
        else
            return;
        m_colorSet = true;
    }

    void character(QChar c)
    {
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        if (m_state.colorTable) {
            if (c == u';')
                endColor();
            return;
        }
        if (m_state.skip)
            return;
        if (!(m_state.format == m_runFormat))
            flushRun();
        m_runFormat = m_state.format;
        m_run.append(c);
    }

    void endColor()
    {
        m_colors.append(m_colorSet ? QStringLiteral("#%1%2%3")
                                         .arg(m_color[0], 2, 16, QLatin1Char('0'))
                                         .arg(m_color[1], 2, 16, QLatin1Char('0'))
                                         .arg(m_color[2], 2, 16, QLatin1Char('0'))
                                   : QString());
        m_color[0] = m_color[1] = m_color[2] = 0;
        m_colorSet = false;
    }

    void appendHtml(const QString& html)
    {
        if (m_state.skip)
            return;
        flushRun();
        m_paragraph.append(html);
    }

    void flushRun()
    {
        if (m_run.isEmpty())
            return;
        const QString style = styleOf(m_runFormat);
        const QString text = m_run.toHtmlEscaped();
        m_paragraph.append(style.isEmpty()
                               ? text
                               : QStringLiteral("<span style=\"%1\">%2</span>").arg(style, text));
        m_run.clear();
    }

    QString styleOf(const CharFormat& format) const
    {
        QString style;
        if (format.bold)
            style += QStringLiteral("font-weight:bold;");
        if (format.italic)
            style += QStringLiteral("font-style:italic;");
        if (format.underline)
            style += QStringLiteral("text-decoration:underline;");
        if (const QString color = colorAt(format.foreground); !color.isEmpty())
            style += QStringLiteral("color:%1;").arg(color);
        if (const QString color = colorAt(format.background); !color.isEmpty())
            style += QStringLiteral("background-color:%1;").arg(color);
        return style;
    }

    QString colorAt(int index) const { return index > 0 ? m_colors.value(index) : QString(); }

    void endParagraph()
    {
        if (m_state.skip)
            return;
        flushRun();
        m_html +=
            QStringLiteral("<p style=\"margin-top:0;margin-bottom:0;white-space:pre-wrap\">") +
            m_paragraph + QStringLiteral("</p>");
        m_paragraph.clear();
    }

    const QByteArray& m_in;
    qsizetype m_pos = 0;
    std::vector<GroupState> m_stack;
    GroupState m_state;
    int m_pendingSkip = 0;
    QList<QString> m_colors;
    int m_color[3] = {0, 0, 0};
    bool m_colorSet = false;
    QString m_html;
    QString m_paragraph;
    QString m_run;
    CharFormat m_runFormat;
};
} // namespace

std::optional<QString> RtfReader::toHtml(const QByteArray& rtf)
{
    if (!rtf.startsWith("{\\rtf"))
        return std::nullopt;
    return Parser(rtf).run();
}
