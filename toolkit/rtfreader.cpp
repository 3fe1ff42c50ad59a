#include "rtfreader.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QMap>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

namespace {

// What a group inherits from the group around it.
struct TRtfState
{
    enum TDestination { dsText, dsFontTable, dsColorTable, dsSkip };
    TDestination Destination = dsText;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int HalfPoints = 24;
    int ColorIndex = -1; // -1: the document's own text colour
    int Font = -1;       // -1: the default font
    int UnicodeSkip = 1; // characters that stand in for each \uN
};

// Windows-1252 code points for bytes 0x80 to 0x9F; the rest of the page is Latin-1.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QChar FromCp1252(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(Cp1252High[byte - 0x80]);
    return QChar(byte);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

class TRtfParser
{
public:
    TRtfParser(const QByteArray &rtf, QTextDocument &doc) : FIn(rtf), FDoc(doc), FCursor(&doc) {}

    void Run();

private:
    void OpenGroup();
    void CloseGroup();
    void ControlWord();
    void ControlSymbol(char symbol);
    void HexEscape();
    void Character(QChar c);
    void Flush();
    void NewParagraph();
    void ApplyWord(const QByteArray &word, bool hasParam, int param);
    void SkipFallback();
    QTextCharFormat CurrentFormat() const;

    TRtfState &State() { return FStates.back(); }

    const QByteArray &FIn;
    qsizetype FPos = 0;
    QTextDocument &FDoc;
    QTextCursor FCursor;
    std::vector<TRtfState> FStates{TRtfState()};
    int FOverflow = 0; // groups opened beyond the depth limit, sharing the deepest state
    bool FGroupStart = false; // the next token is the first of a new group
    int FPendingSkip = 0;     // fallback characters still to skip after a \uN

    QString FText; // characters not yet inserted, all in the current format
    QList<QColor> FColors;
    QColor FColorBuild;
    bool FColorGiven = false;
    QMap<int, QString> FFonts;
    int FFontNumber = -1;
    QString FFontName;
    int FDefaultFont = 0;
};

void TRtfParser::Run()
{
    FDoc.clear();
    FCursor = QTextCursor(&FDoc);
    while (FPos < FIn.size()) {
        const char c = FIn[FPos];
        switch (c) {
        case '{':
            ++FPos;
            OpenGroup();
            break;
        case '}':
            ++FPos;
            CloseGroup();
            break;
        case '\\':
            ++FPos;
            ControlWord();
            break;
        case '\r':
        case '\n':
            ++FPos; // line breaks in the source carry no meaning
            break;
        default:
            ++FPos;
            FGroupStart = false;
            Character(FromCp1252(static_cast<unsigned char>(c)));
            break;
        }
    }
    Flush();
}

void TRtfParser::OpenGroup()
{
    Flush();
    FPendingSkip = 0;
    if (FStates.size() >= size_t(RtfMaxGroupDepth))
        ++FOverflow;
    else
        FStates.push_back(FStates.back());
    FGroupStart = true;
}

void TRtfParser::CloseGroup()
{
    Flush();
    FPendingSkip = 0;
    FGroupStart = false;
    if (FOverflow > 0) {
        --FOverflow;
        return;
    }
    if (FStates.size() <= 1)
        return; // a stray closing brace
    const TRtfState closing = FStates.back();
    FStates.pop_back();
    // A font table entry may end with its group rather than with a semicolon.
    if (closing.Destination == TRtfState::dsFontTable && FFontNumber >= 0 &&
        !FFontName.trimmed().isEmpty()) {
        FFonts.insert(FFontNumber, FFontName.trimmed());
        FFontNumber = -1;
        FFontName.clear();
    }
}

void TRtfParser::ControlWord()
{
    if (FPos >= FIn.size())
        return; // a lone backslash at the end
    const char first = FIn[FPos];
    if (!IsLetter(first)) {
        ++FPos;
        ControlSymbol(first);
        return;
    }
    QByteArray word;
    while (FPos < FIn.size() && IsLetter(FIn[FPos])) {
        if (word.size() <= RtfMaxControlWord)
            word.append(FIn[FPos]);
        ++FPos;
    }
    bool hasParam = false;
    bool negative = false;
    long long value = 0;
    if (FPos < FIn.size() && FIn[FPos] == '-' && FPos + 1 < FIn.size() && IsDigit(FIn[FPos + 1])) {
        negative = true;
        ++FPos;
    }
    while (FPos < FIn.size() && IsDigit(FIn[FPos])) {
        hasParam = true;
        if (value <= RtfMaxParameter)
            value = value * 10 + (FIn[FPos] - '0');
        ++FPos;
    }
    // A single space ends the control word and belongs to it.
    if (FPos < FIn.size() && FIn[FPos] == ' ')
        ++FPos;
    if (value > RtfMaxParameter)
        value = RtfMaxParameter;
    const int param = int(negative ? -value : value);

    const bool groupStart = FGroupStart;
    FGroupStart = false;
    if (word.size() > RtfMaxControlWord) {
        SkipFallback();
        return;
    }
    if (groupStart && State().Destination != TRtfState::dsSkip) {
        // Destinations that take a whole group and show nothing of it.
        static const char *const skipped[] = {
            "stylesheet", "info",   "pict",   "object",  "header", "footer",  "headerl",
            "headerr",    "headerf", "footerl", "footerr", "footerf", "footnote", "fldinst",
            "listtable",  "listoverridetable", "rsidtbl", "xmlnstbl", "themedata",
            "colorschememapping", "datastore", "latentstyles", "generator", "filetbl",
            "revtbl",     "template", "nonshppict"};
        for (const char *name : skipped) {
            if (word == name) {
                Flush();
                State().Destination = TRtfState::dsSkip;
                return;
            }
        }
    }
    ApplyWord(word, hasParam, param);
}

void TRtfParser::SkipFallback()
{
    // Inside the characters that stand in for a \uN, each control word counts as one.
    if (FPendingSkip > 0)
        --FPendingSkip;
}

void TRtfParser::ApplyWord(const QByteArray &word, bool hasParam, int param)
{
    TRtfState &state = State();
    if (state.Destination == TRtfState::dsSkip)
        return;
    if (FPendingSkip > 0 && word != "u") {
        --FPendingSkip;
        return;
    }

    if (word == "fonttbl") {
        Flush();
        state.Destination = TRtfState::dsFontTable;
        return;
    }
    if (word == "colortbl") {
        Flush();
        state.Destination = TRtfState::dsColorTable;
        FColorBuild = QColor(0, 0, 0);
        FColorGiven = false;
        return;
    }
    if (word == "bin") {
        // Binary data of `param` bytes follows; it is never text.
        const qsizetype skip = hasParam && param > 0 ? param : 0;
        FPos = std::min<qsizetype>(FIn.size(), FPos + skip);
        return;
    }
    if (word == "uc") {
        state.UnicodeSkip = hasParam ? std::clamp(param, 0, 16) : 1;
        return;
    }
    if (word == "u") {
        FPendingSkip = 0; // a new escape ends the fallback of the one before
        int code = hasParam ? param : 0;
        if (code < 0)
            code += 65536;
        if (code >= 0 && code <= 0xFFFF && state.Destination == TRtfState::dsText)
            Character(QChar(char16_t(code)));
        else if (state.Destination == TRtfState::dsFontTable && code >= 0 && code <= 0xFFFF)
            FFontName.append(QChar(char16_t(code)));
        FPendingSkip = state.UnicodeSkip;
        return;
    }

    if (state.Destination == TRtfState::dsColorTable) {
        const int component = std::clamp(param, 0, 255);
        if (word == "red") {
            FColorBuild.setRed(component);
            FColorGiven = true;
        } else if (word == "green") {
            FColorBuild.setGreen(component);
            FColorGiven = true;
        } else if (word == "blue") {
            FColorBuild.setBlue(component);
            FColorGiven = true;
        }
        return;
    }
    if (state.Destination == TRtfState::dsFontTable) {
        if (word == "f") {
            FFontNumber = param;
            FFontName.clear();
        }
        return; // family, pitch and charset words do not change the face
    }

    // Text destination.
    if (word == "par" || word == "line") {
        NewParagraph();
    } else if (word == "tab") {
        Character(QChar('\t'));
    } else if (word == "emdash") {
        Character(QChar(0x2014));
    } else if (word == "endash") {
        Character(QChar(0x2013));
    } else if (word == "bullet") {
        Character(QChar(0x2022));
    } else if (word == "lquote") {
        Character(QChar(0x2018));
    } else if (word == "rquote") {
        Character(QChar(0x2019));
    } else if (word == "ldblquote") {
        Character(QChar(0x201C));
    } else if (word == "rdblquote") {
        Character(QChar(0x201D));
    } else {
        Flush();
        if (word == "b")
            state.Bold = !hasParam || param != 0;
        else if (word == "i")
            state.Italic = !hasParam || param != 0;
        else if (word == "ul")
            state.Underline = !hasParam || param != 0;
        else if (word == "ulnone")
            state.Underline = false;
        else if (word == "fs")
            state.HalfPoints = hasParam ? std::clamp(param, 1, RtfMaxHalfPoints) : 24;
        else if (word == "cf")
            state.ColorIndex = hasParam ? param : 0;
        else if (word == "f")
            state.Font = param;
        else if (word == "deff")
            FDefaultFont = param;
        else if (word == "plain") {
            state.Bold = state.Italic = state.Underline = false;
            state.HalfPoints = 24;
            state.ColorIndex = -1;
            state.Font = -1;
        }
        // \pard, \rtf, \ansi, \viewkind and every other word change nothing shown here.
    }
}

void TRtfParser::ControlSymbol(char symbol)
{
    const bool groupStart = FGroupStart;
    FGroupStart = false;
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        Character(QChar(symbol));
        break;
    case '\'':
        HexEscape();
        break;
    case '*':
        // An optional destination: skipped whole unless it is known, and none is.
        if (groupStart) {
            Flush();
            State().Destination = TRtfState::dsSkip;
        }
        break;
    case '~':
        Character(QChar(0x00A0));
        break;
    case '_':
        Character(QChar(0x2011));
        break;
    case '\r':
    case '\n':
        if (State().Destination == TRtfState::dsText)
            NewParagraph();
        break;
    default:
        SkipFallback(); // \- optional hyphen, \: index marks and the like
        break;
    }
}

void TRtfParser::HexEscape()
{
    int value = 0;
    int digits = 0;
    while (digits < 2 && FPos < FIn.size() && HexValue(FIn[FPos]) >= 0) {
        value = value * 16 + HexValue(FIn[FPos]);
        ++FPos;
        ++digits;
    }
    if (digits == 0)
        return;
    Character(FromCp1252(static_cast<unsigned char>(value)));
}

void TRtfParser::Character(QChar c)
{
    if (FPendingSkip > 0) {
        --FPendingSkip;
        return;
    }
    switch (State().Destination) {
    case TRtfState::dsText:
        FText.append(c);
        break;
    case TRtfState::dsFontTable:
        if (c == QChar(';')) {
            if (FFontNumber >= 0)
                FFonts.insert(FFontNumber, FFontName.trimmed());
            FFontNumber = -1;
            FFontName.clear();
        } else if (FFontName.size() < 256) {
            FFontName.append(c);
        }
        break;
    case TRtfState::dsColorTable:
        if (c == QChar(';')) {
            // An entry without components is the "automatic" colour.
            if (FColors.size() < 4096)
                FColors.append(FColorGiven ? FColorBuild : QColor());
            FColorBuild = QColor(0, 0, 0);
            FColorGiven = false;
        }
        break;
    case TRtfState::dsSkip:
        break;
    }
}

QTextCharFormat TRtfParser::CurrentFormat() const
{
    const TRtfState &state = FStates.back();
    QTextCharFormat format;
    const int font = state.Font >= 0 ? state.Font : FDefaultFont;
    if (const auto it = FFonts.constFind(font); it != FFonts.constEnd() && !it->isEmpty())
        format.setFontFamilies({*it});
    format.setFontPointSize(state.HalfPoints / 2.0);
    format.setFontWeight(state.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(state.Italic);
    format.setFontUnderline(state.Underline);
    if (state.ColorIndex >= 0 && state.ColorIndex < FColors.size() &&
        FColors[state.ColorIndex].isValid())
        format.setForeground(FColors[state.ColorIndex]);
    return format;
}

void TRtfParser::Flush()
{
    if (FText.isEmpty())
        return;
    FCursor.insertText(FText, CurrentFormat());
    FText.clear();
}

void TRtfParser::NewParagraph()
{
    Flush();
    FCursor.insertBlock(FCursor.blockFormat(), CurrentFormat());
}

} // namespace

void ReadRtf(const QByteArray &rtf, QTextDocument &doc)
{
    TRtfParser parser(rtf, doc);
    parser.Run();
}
