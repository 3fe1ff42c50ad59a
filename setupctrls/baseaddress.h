#pragma once
// The picture of the card's address DIP switch. It holds the base address it
// shows: assigned as hexadecimal text, kept to the address bits that its switches
// cover, and given back as normalised upper-case text.

#include "orientedpicture.h"

#include <QString>

#include <optional>
#include <vector>

// Switches a picture may have: with N switches the lowest bit shown is 10 - N.
constexpr int MIN_SWITCHES = 1;
constexpr int MAX_SWITCHES = 10;

// The address bits that `numSwitches` switches show: bits 10 - N up to 9.
// Throws std::invalid_argument for a count outside 1..10.
int SwitchMask(int numSwitches);

// Reads `text` as a hexadecimal address: letters are upper-cased, every character
// that is not a hexadecimal digit is dropped, and the digits are masked to the
// switches' bits. Nothing when no digit is left. More than eight significant
// digits throw EConvertError; a count outside 1..10 throws std::invalid_argument.
std::optional<int> ParseBaseAddress(const QString &text, int numSwitches);

// Where the parts of a W x H upright switch drawing lie, with N switches and a
// label font `f` pixels high.
struct TSwitchGeometry
{
    int Body = 0;       // bottom edge of the black body, top of the label strip
    int SlotTop = 0;    // top edge of every slot
    int SlotBottom = 0; // bottom edge of every slot
    int SlotWidth = 0;
    int Gap = 0;   // left margin before the first slot
    int Pitch = 0; // distance from one slot's left edge to the next one's
    int LeverLength = 0;
    std::vector<int> SlotX; // left edge of each slot, from the left
};
TSwitchGeometry SwitchGeometry(int W, int H, int numSwitches, int f);

// The address bit that switch `index` (counted from the left) stands for.
int SwitchBit(int index, int numSwitches, bool leftToRight);

class TBaseAddress : public TOrientedPicture
{
    Q_OBJECT
    Q_PROPERTY(QString BaseAddressStr READ BaseAddressStr WRITE SetBaseAddressStr)
    Q_PROPERTY(int NumSwitches READ NumSwitches WRITE SetNumSwitches)
    Q_PROPERTY(bool OnIsOne READ OnIsOne WRITE SetOnIsOne)
    Q_PROPERTY(bool LeftToRight READ LeftToRight WRITE SetLeftToRight)
    Q_PROPERTY(QColor SwitchColor READ SwitchColor WRITE SetSwitchColor)

public:
    explicit TBaseAddress(QWidget *parent = nullptr);
    ~TBaseAddress() override;

    const QString &BaseAddressStr() const { return FBaseAddressStr; }
    // Parses and masks; the text is rewritten only when the address changes.
    // Throws EConvertError for more than eight significant digits, changing nothing.
    void SetBaseAddressStr(const QString &text);

    // The address shown.
    int AddressValue() const { return FAddressValue; }

    int NumSwitches() const { return FNumSwitches; }
    // 1 to 10; anything else throws std::invalid_argument and changes nothing. The
    // stored address is not re-masked until the next BaseAddressStr assignment.
    void SetNumSwitches(int value);
    bool OnIsOne() const { return FOnIsOne; }
    void SetOnIsOne(bool value);
    bool LeftToRight() const { return FLeftToRight; }
    void SetLeftToRight(bool value);
    QColor SwitchColor() const { return FSwitchColor; }
    void SetSwitchColor(const QColor &value);

    // The label font and its pixel height f.
    static QFont LabelFont();

protected:
    void DrawUpright(QPainter &painter, int W, int H) override;

private:
    QString FBaseAddressStr = QStringLiteral("0");
    int FAddressValue = 0;
    int FNumSwitches = 7;
    bool FOnIsOne = false;
    bool FLeftToRight = false;
    QColor FSwitchColor = QColor(0xFF, 0xFF, 0xFF);
};
