#include "template.h"

#include "application.h"
#include "fonts.h"
#include "vcl.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>

namespace {

QByteArray CardPhotograph()
{
    QFile file(QStringLiteral(":/card.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("The card photograph is missing from the program's resources");
    return file.readAll();
}

QLabel *MakeLabel(QWidget *parent, const QString &name, QRect bounds, const QString &caption,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(bounds);
    label->setAlignment(alignment);
    return label;
}

// An editable drop-down list as the option panels use it: typed text never adds
// an item and is not completed, so text that names no item selects none.
QComboBox *MakeComboBox(QWidget *parent, const QString &name, QRect bounds,
                        const QStringList &items)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(8);
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setGeometry(bounds);
    return box;
}

// Typed text selects the item it names exactly, or no item; the text stays as typed.
void SelectTypedItem(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index == box->currentIndex())
        return;
    QLineEdit *edit = box->lineEdit();
    const int cursor = edit->cursorPosition();
    box->setCurrentIndex(index);
    if (edit->text() != text)
        edit->setText(text);
    edit->setCursorPosition(cursor);
}

// Relay mode by list item: Watchdog-Controlled, Always Energized, Always De-Energized.
constexpr std::array<TJumperState, 3> RelayStates = {jsLeft, jsRight, jsOpen};

void SetEditColor(QLineEdit *edit, const QColor &color)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, color);
    edit->setPalette(palette);
}

} // namespace

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Setup"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    Vcl::SetBackgroundColor(client, Qt::white);
    setCentralWidget(client);
    Vcl::SetBackgroundColor(this, Qt::white);

    CreateComponents();
    ConnectHandlers();
    FormCreate(this);
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateComponents()
{
    BoardImage1 = new TBoardImage(Client());
    BoardImage1->setObjectName(QStringLiteral("BoardImage1"));
    BoardImage1->SetAutoSize(false);
    BoardImage1->setGeometry(166, 122, 600, 422);
    BoardImage1->SetStretch(true);
    BoardImage1->Picture().LoadJpeg(CardPhotograph());
    CreateHighlightsAndPanels();

    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    Exit2 = File1->addAction(QStringLiteral("&Exit"));
    Exit2->setObjectName(QStringLiteral("Exit2"));
    Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Howtousethisprogram1 = Help1->addAction(QStringLiteral("H&ow to use this program"));
    Howtousethisprogram1->setObjectName(QStringLiteral("Howtousethisprogram1"));
    TechnicalSupport1 = Help1->addAction(QStringLiteral("&Technical Support"));
    TechnicalSupport1->setObjectName(QStringLiteral("TechnicalSupport1"));

    BoardImage1->SetMenu(MainMenu1);

    CreateSupporter();
}

void TMainForm::CreateSupporter()
{
    SetSup = new TSetupSupporter(this);
    SetSup->setObjectName(QStringLiteral("SetSup"));
    SetSup->SetCompanyName(QStringLiteral("Norvale"));
    SetSup->SetCardNameA(QStringLiteral("GRD-KTX"));
    SetSup->SetCardNameB(QStringLiteral("KTR810-L"));
    SetSup->SetCallHow(QStringLiteral(
        "Monday through Friday, 8 AM to 5 PM Pacific Time, at (555) 010-4470"));
    SetSup->SetChangeButtons(true);
}

void TMainForm::CreateHighlightsAndPanels()
{
    // Children of the board in this order: it is the order of their menu entries.
    auto highlight = [this](const char *name, QRect bounds, const char *title) {
        auto *h = new TBoardHighlight(BoardImage1);
        h->setObjectName(QString::fromLatin1(name));
        h->setGeometry(bounds);
        h->SetTitle(QString::fromLatin1(title));
        return h;
    };
    BaseHighlight = highlight("BaseHighlight", {228, 173, 56, 86}, "&Base Address");
    IRQHighlight0 = highlight("IRQHighlight0", {298, 275, 70, 35}, "&IRQ Level");
    IRQHighlight1 = highlight("IRQHighlight1", {72, 283, 64, 40}, "&IRQ Level");
    EnableHighlight = highlight("EnableHighlight", {492, 28, 50, 33}, "Relay &Enabling");

    // Hidden on the window; their places matter, as the popups are placed from them.
    auto panel = [this](const char *name, QRect bounds, const char *text) {
        auto *p = new TRadioPanel(Client());
        p->setObjectName(QString::fromLatin1(name));
        p->setGeometry(bounds);
        p->SetLines({QString::fromLatin1(text)});
        return p;
    };
    EnablePanel = panel("EnablePanel", {373, 70, 260, 59},
                        "This jumper allows you to configure the relay to be controlled by the "
                        "watchdog circuit, always energized, or always de-energized.");
    BasePanel = panel("BasePanel", {574, 264, 161, 116},
                      "Enter the base address(in hex, from 100 to 3F8) on the left, then set the "
                      "card's address switch to match the one on the right.");
    IRQPanel = panel("IRQPanel", {22, 147, 315, 118},
                     "Set these jumpers to specify what IRQ the card generates interrupts on, so "
                     "that software can handle a timeout without the relay getting triggered. If "
                     "set to \"None\", no interrupts will be generated.");
    CreateOptionControls();

    BaseHighlight->SetRadioPanel(BasePanel);
    IRQHighlight0->SetRadioPanel(IRQPanel);
    IRQHighlight1->SetRadioPanel(IRQPanel);
    EnableHighlight->SetRadioPanel(EnablePanel);
    BoardImage1->SetFirst(BaseHighlight);
}

void TMainForm::CreateOptionControls()
{
    EnableJumper = new TThreeJumper(EnablePanel);
    EnableJumper->setObjectName(QStringLiteral("EnableJumper"));
    EnableJumper->setGeometry(194, 19, 43, 18);
    EnableJumper->SetJumperState(jsLeft);
    Label13 = MakeLabel(EnablePanel, QStringLiteral("Label13"), {173, 22, 18, 13},
                        QStringLiteral("JP3"), Qt::AlignRight | Qt::AlignTop);
    EnableBox = MakeComboBox(EnablePanel, QStringLiteral("EnableBox"), {15, 18, 130, 21},
                             {QStringLiteral("Watchdog-Controlled"),
                              QStringLiteral("Always Energized"),
                              QStringLiteral("Always De-Energized")});

    BaseBA = new TBaseAddress(BasePanel);
    BaseBA->setObjectName(QStringLiteral("BaseBA"));
    BaseBA->setGeometry(88, 8, 61, 102);
    BaseBA->SetOrientation(otRight);
    BaseBA->SetBaseAddressStr(QStringLiteral("200"));
    BaseFeedbackLabel = MakeLabel(BasePanel, QStringLiteral("BaseFeedbackLabel"), {8, 64, 73, 17},
                                  QString(), Qt::AlignHCenter | Qt::AlignTop);
    BaseEdit = new QLineEdit(QStringLiteral("200"), BasePanel);
    BaseEdit->setObjectName(QStringLiteral("BaseEdit"));
    BaseEdit->setGeometry(24, 40, 41, 21);
    SetEditColor(BaseEdit, Vcl::WindowColor());

    const QStringList low = {"2", "3", "4", "5", "6", "7"};
    for (int i = 0; i < low.size(); ++i)
        MakeLabel(IRQPanel, QStringLiteral("Label%1").arg(32 + i), {185 + 17 * i, 82, 6, 13},
                  low[i]);
    const QStringList high = {"15", "14", "12", "11", "10"};
    for (int i = 0; i < high.size(); ++i)
        MakeLabel(IRQPanel, QStringLiteral("Label%1").arg(1 + i), {25 + 17 * i, 48, 12, 13},
                  high[i]);
    IRQBox = MakeComboBox(IRQPanel, QStringLiteral("IRQBox"), {88, 21, 129, 21},
                          {"None", "IRQ2", "IRQ3", "IRQ4", "IRQ5", "IRQ6", "IRQ7", "IRQ10",
                           "IRQ11", "IRQ12", "IRQ14", "IRQ15"});
}

void TMainForm::ConnectHandlers()
{
    connect(EnableBox, &QComboBox::activated, this, [this] { EnableBoxChange(EnableBox); });
    connect(EnableBox->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        SelectTypedItem(EnableBox, text);
        EnableBoxChange(EnableBox);
    });
    connect(IRQBox, &QComboBox::activated, this, [this] { IRQBoxChange(IRQBox); });
    connect(IRQBox->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        SelectTypedItem(IRQBox, text);
        IRQBoxChange(IRQBox);
    });
    connect(BaseEdit, &QLineEdit::textEdited, this, [this] { BaseEditChange(BaseEdit); });
    EnableJumper->SetOnClick([this](QObject *sender) { EnableJumperClick(sender); });
    EnablePanel->SetOnEnter([this](QObject *sender) { EnablePanelEnter(sender); });
    IRQPanel->SetOnEnter([this](QObject *sender) { IRQPanelEnter(sender); });

    connect(Exit2, &QAction::triggered, this, [this] { Exit2Click(Exit2); });
    connect(Howtousethisprogram1, &QAction::triggered, this,
            [this] { Howtousethisprogram1Click(Howtousethisprogram1); });
    connect(TechnicalSupport1, &QAction::triggered, this,
            [this] { TechnicalSupport1Click(TechnicalSupport1); });
}

void TMainForm::Exit2Click(QObject *)
{
    close();
}

// Before the supporter's build the windows do not exist yet, and the handlers
// do nothing. A window already visible stays as it is.
void TMainForm::Howtousethisprogram1Click(QObject *)
{
    if (QWidget *form = SetSup->HelpForm())
        form->show();
}

void TMainForm::TechnicalSupport1Click(QObject *)
{
    if (QWidget *form = SetSup->TechForm())
        form->show();
}

void TMainForm::FormCreate(QObject *)
{
    TApplication *app = TApplication::Instance();
    if (!app)
        return;
    // Should the window go before the first idle moment, the hook finds its
    // supporter gone and removes itself instead of calling into freed memory.
    app->SetOnIdle([supporter = QPointer<TSetupSupporter>(SetSup)](QObject *sender, bool &done) {
        if (supporter)
            supporter->ApplicationIdle(sender, done);
        else if (auto *application = qobject_cast<TApplication *>(sender))
            application->SetOnIdle(nullptr);
    });
}

void TMainForm::EnableBoxChange(QObject *)
{
    const int index = EnableBox->currentIndex();
    if (index >= 0 && index < int(RelayStates.size()))
        EnableJumper->SetJumperState(RelayStates[index]);
}

void TMainForm::EnableJumperClick(QObject *)
{
    const auto found = std::find(RelayStates.begin(), RelayStates.end(), EnableJumper->JumperState());
    EnableBox->setCurrentIndex(int(found - RelayStates.begin()));
}

void TMainForm::EnablePanelEnter(QObject *)
{
    EnableBox->setCurrentIndex(0);
    EnableJumper->SetJumperState(RelayStates[0]);
}

void TMainForm::IRQPanelEnter(QObject *)
{
    if (!IRQJumpers[1]) {
        // Tags 1 to 6 stand on the right, lowest interrupt first; tags 7 to 11 on the
        // left, 13 pixels lower, running from right to left.
        for (int tag = 1; tag <= 11; ++tag) {
            auto *jumper = new TTwoJumper(IRQPanel);
            IRQJumpers[tag] = jumper;
            Vcl::SetTag(jumper, tag);
            jumper->SetOrientation(otRight);
            const int left = tag <= 6 ? 163 + 17 * tag : 210 - 17 * tag;
            const int top = tag <= 6 ? 48 : 61;
            jumper->setGeometry(left, top, 18, 34);
            jumper->SetOnClick([this](QObject *sender) { IRQJumperClick(sender); });
            // Children made after their parent is shown stay hidden until shown.
            jumper->show();
        }
    }
    IRQBox->setCurrentIndex(0);
    IRQBoxChange(IRQBox);
}

void TMainForm::IRQJumperClick(QObject *sender)
{
    auto *jumper = qobject_cast<TTwoJumper *>(sender);
    if (!jumper)
        return;
    IRQBox->setCurrentIndex(jumper->Closed() ? Vcl::Tag(jumper) : 0);
    IRQBoxChange(IRQBox);
}

void TMainForm::IRQBoxChange(QObject *)
{
    const int index = IRQBox->currentIndex();
    for (int k = 1; k <= 11; ++k) {
        if (IRQJumpers[k])
            IRQJumpers[k]->SetClosed(k == index);
    }
}

void TMainForm::BaseEditChange(QObject *)
{
    try {
        BaseBA->SetBaseAddressStr(BaseEdit->text());
        // Blanks and control characters around the text do not count, nor does the
        // letter case of a to f.
        QString typed = BaseEdit->text();
        qsizetype first = 0, last = typed.size();
        while (first < last && typed[first].unicode() <= 32)
            ++first;
        while (last > first && typed[last - 1].unicode() <= 32)
            --last;
        typed = typed.mid(first, last - first);
        for (QChar &c : typed) {
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                c = QChar(c.unicode() - 32);
        }
        const QString shown = BaseBA->BaseAddressStr();
        BaseFeedbackLabel->setText(typed != shown ? shown : QString());
        SetEditColor(BaseEdit, Vcl::WindowColor());
    } catch (const std::exception &) {
        // Unusable text: the edit box takes the panel's colour; nothing else changes.
        SetEditColor(BaseEdit, BasePanel->Color());
    }
}

void TMainForm::FitNormalGeometry()
{
    // The old toolkit sized the window by its outer frame; Qt sizes the client area.
    // Once the frame is known, make the restored window 831 x 645 outside, centred.
    const QMargins frame(geometry().left() - frameGeometry().left(),
                         geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    const QSize client(NormalOuterSize.width() - frame.left() - frame.right(),
                       NormalOuterSize.height() - frame.top() - frame.bottom());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint outerTopLeft(screen.x() + (screen.width() - NormalOuterSize.width()) / 2,
                              screen.y() + (screen.height() - NormalOuterSize.height()) / 2);
    setGeometry(QRect(outerTopLeft + QPoint(frame.left(), frame.top()), client));
    FNormalGeometryFitted = true;
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!FNormalGeometryFitted && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        FitNormalGeometry();
}

void TMainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !FNormalGeometryFitted &&
        windowState() == Qt::WindowNoState && isVisible())
        QMetaObject::invokeMethod(this, [this] { FitNormalGeometry(); }, Qt::QueuedConnection);
}
