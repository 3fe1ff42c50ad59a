#include "setupsupporter.h"

#include "ZIZERIRAV.h"
#include "anchors.h"
#include "application.h"
#include "fonts.h"
#include "helpform.h"
#include "messagebox.h"
#include "pciform.h"
#include "rtfreader.h"
#include "techform.h"
#include "timerowner.h"

#include <QAbstractButton>
#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <cmath>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The outer size a new window has before anything resizes it.
constexpr QSize NewWindowOuterSize(320, 240);
constexpr int CloseButtonWidth = 73;
constexpr int ButtonHeight = 25;


// Moves the window's visible controls together so that their bounding rectangle
// starts at the client origin, and gives the client area that rectangle's size.
void FitToControls(QWidget *form)
{
    QRect bounds;
    const auto controls = form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *control : controls) {
        if (!control->isWindow() && !control->isHidden())
            bounds |= control->geometry();
    }
    if (bounds.isNull())
        return;
    for (QWidget *control : controls) {
        if (!control->isWindow() && !control->isHidden())
            control->move(control->pos() - bounds.topLeft());
    }
    form->resize(bounds.size());
}

// The bytes of an RTF text: ASCII as it stands, anything else as a Unicode escape
// with "?" for readers that do not know escapes.
QByteArray RtfBytes(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            bytes.append(char(c.unicode()));
        else
            bytes.append("\\u" + QByteArray::number(qint16(c.unicode())) + '?');
    }
    return bytes;
}

// Replaces line `index` of a line-list control. A list that has no such line is
// left alone: the owner gives every channel its line before the cycle starts.
void ReplaceLine(QWidget *lineList, int index, const QString &line)
{
    if (auto *list = qobject_cast<QListWidget *>(lineList)) {
        if (QListWidgetItem *item = list->item(index))
            item->setText(line);
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(lineList)) {
        const QTextBlock block = memo->document()->findBlockByNumber(index);
        if (!block.isValid())
            return;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(line);
    }
}

// Makes `button` answer the keys in `keys` with a click, wherever the focus is in
// its window.
void ClickOnKeys(QAbstractButton *button, const QList<QKeySequence> &keys)
{
    for (const QKeySequence &key : keys) {
        auto *shortcut = new QShortcut(key, button->window());
        QObject::connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
    }
}

} // namespace

TSetupSupporter::TSetupSupporter(QWidget *owner) : QObject(owner)
{
    setObjectName(QStringLiteral("SetSup"));
    FTimerWindow = new TTimerOwner(this);
    FTimerWindow->SetOnTimer([this] { TimerTick(); });
}

TSetupSupporter::~TSetupSupporter()
{
    FCalibrating = false;
    FHelpPending = false;
    FTimerWindow->Stop();
}

QWidget *TSetupSupporter::MainWindow() const
{
    return qobject_cast<QWidget *>(parent());
}

QWidget *TSetupSupporter::ClientArea() const
{
    QWidget *main = MainWindow();
    if (auto *window = qobject_cast<QMainWindow *>(main); window && window->centralWidget())
        return window->centralWidget();
    return main;
}

void TSetupSupporter::SetOnBeginCalib(TNotifyEvent handler)
{
    FOnBeginCalib = std::move(handler);
    UpdateTimer();
}

void TSetupSupporter::ApplicationIdle(QObject *sender, bool &)
{
    if (auto *app = qobject_cast<TApplication *>(sender))
        app->SetOnIdle(nullptr);
    BuildWindows();
}

void TSetupSupporter::BuildWindows()
{
    // Built once: a second call would stack a second header and second windows.
    if (!MainWindow() || FHeaderLabel)
        return;
    const QString cardName = CardName();
    BuildHeaderLabel();
    BuildHelpForm(cardName);
    BuildTechForm();
    bool found = true;
    if (FOnGetCardString)
        found = BuildPCIForm(cardName);
    FHeaderLabel->setText(HeaderText(cardName, FbSeries, found));
    FHelpPending = true;
    UpdateTimer();
}

void TSetupSupporter::BuildHeaderLabel()
{
    QWidget *client = ClientArea();
    FHeaderLabel = new QLabel(client);
    FHeaderLabel->setObjectName(QStringLiteral("HeaderLabel"));
    FHeaderLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    FHeaderLabel->setFont(DesignFont(QStringLiteral("Tahoma"), 18, true));
    QPalette palette = FHeaderLabel->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    FHeaderLabel->setPalette(palette);
    // Aligned to the top edge across the client width, and kept so when the
    // window changes size.
    FHeaderLabel->setGeometry(0, 0, client->width(), FHeaderLabel->fontMetrics().height());
    SetAnchors(FHeaderLabel, TAnchors(akLeft) | akTop | akRight);
    FHeaderLabel->show();
}

void TSetupSupporter::BuildHelpForm(const QString &cardName)
{
    auto *form = new THelpForm(MainWindow());
    FHelpForm = form;
    form->setObjectName(QStringLiteral("HelpForm"));
    form->setWindowTitle(QStringLiteral("Instructions for Settings utility"));

    form->HelpRich = new QTextEdit(form);
    form->HelpRich->setObjectName(QStringLiteral("HelpRich"));
    form->HelpRich->setGeometry(0, 24, 305, 73);
    form->HelpRich->setReadOnly(true);
    form->HelpRich->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Vcl::SetBackgroundColor(form->HelpRich, QColor(0xDD, 0xDD, 0xDD));
    QPalette richPalette = form->HelpRich->palette();
    richPalette.setColor(QPalette::Base, QColor(0xDD, 0xDD, 0xDD));
    form->HelpRich->setPalette(richPalette);
    ReadRtf(RtfBytes(HelpText(FCompanyName, cardName, FbSeries, FMultiPort,
                              bool(FOnGetCardString))),
            *form->HelpRich->document());
    form->HelpRich->moveCursor(QTextCursor::Start); // the title line shows first

    form->HelpLabel = new QLabel(QStringLiteral("How to use this program"), form);
    form->HelpLabel->setObjectName(QStringLiteral("HelpLabel"));
    form->HelpLabel->setFont(DesignFont(QStringLiteral("Verdana"), 12, true));
    form->HelpLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    form->HelpLabel->setGeometry(0, 0, 305, form->HelpLabel->fontMetrics().height());

    form->StartButton = new QPushButton(QStringLiteral("Start"), form);
    form->StartButton->setObjectName(QStringLiteral("StartButton"));
    form->StartButton->setGeometry(0, 105, 173, ButtonHeight);
    form->StartButton->setDefault(true);
    form->StartButton->setAutoDefault(true);
    QObject::connect(form->StartButton, &QPushButton::clicked, form,
                     [form] { form->StartButtonClick(form->StartButton); });
    // Enter and Esc both press Start, wherever the focus is.
    ClickOnKeys(form->StartButton, {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter),
                                    QKeySequence(Qt::Key_Escape)});
    QWidget::setTabOrder(form->StartButton, form->HelpRich);
    form->StartButton->setFocus();

    form->resize(form->HelpRich->width(), form->height());
    FitToControls(form);
    form->resize(form->width(), form->height() + 8);

    SetAnchors(form->HelpRich, AllAnchors);
    form->StartButton->move((form->width() - form->StartButton->width()) / 2,
                            form->StartButton->y());
    SetAnchors(form->StartButton, TAnchors(akBottom));
    SetAnchors(form->HelpLabel, TAnchors(akLeft) | akTop | akRight);

    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen)
        form->resize(ScaledClientSize(form->size(), screen->geometry().size()));
}

void TSetupSupporter::BuildTechForm()
{
    auto *form = new TTechForm(MainWindow());
    FTechForm = form;
    form->setObjectName(QStringLiteral("TechForm"));
    form->setWindowTitle(QStringLiteral("Technical Support"));

    form->TechMemo = new QPlainTextEdit(form);
    form->TechMemo->setObjectName(QStringLiteral("TechMemo"));
    form->TechMemo->setGeometry(8, 8, 305, 89);
    form->TechMemo->setReadOnly(true);
    form->TechMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    form->TechMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    form->TechMemo->setPlainText(SupportText(FCompanyName, FCallHow));

    form->CloseButton = new QPushButton(QStringLiteral("Close"), form);
    form->CloseButton->setObjectName(QStringLiteral("CloseButton"));
    form->CloseButton->setGeometry(165, 105, CloseButtonWidth, ButtonHeight);
    QObject::connect(form->CloseButton, &QPushButton::clicked, this,
                     [this, button = form->CloseButton] { CloseButtonClick(button); });
    ClickOnKeys(form->CloseButton, {QKeySequence(Qt::Key_Escape)});
    QWidget::setTabOrder(form->CloseButton, form->TechMemo);
    form->CloseButton->setFocus();

    FitToControls(form);
    SetAnchors(form->TechMemo, AllAnchors);
    form->CloseButton->move((form->width() - CloseButtonWidth) / 2, form->CloseButton->y());
    SetAnchors(form->CloseButton, TAnchors(akBottom));
}

bool TSetupSupporter::BuildPCIForm(const QString &cardName)
{
    AddDisplayPCIEntry(cardName);

    auto *form = new TPCIForm(MainWindow());
    FPCIForm = form;
    form->setObjectName(QStringLiteral("PCIForm"));
    form->setWindowTitle(cardName + QStringLiteral(" Cards installed"));

    form->PCIMemo = new QPlainTextEdit(form);
    form->PCIMemo->setObjectName(QStringLiteral("PCIMemo"));
    form->PCIMemo->setGeometry(8, 8, 305, 89);
    form->PCIMemo->setFont(DesignFont(QStringLiteral("Tahoma"), 10, true));
    form->PCIMemo->setReadOnly(true);
    form->PCIMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    form->CloseButton = new QPushButton(QStringLiteral("Close"), form);
    form->CloseButton->setObjectName(QStringLiteral("CloseButton"));
    form->CloseButton->setGeometry((NewWindowOuterSize.width() - CloseButtonWidth) / 2, 105,
                                   CloseButtonWidth, ButtonHeight);
    QObject::connect(form->CloseButton, &QPushButton::clicked, this,
                     [this, button = form->CloseButton] { CloseButtonClick(button); });
    ClickOnKeys(form->CloseButton, {QKeySequence(Qt::Key_Escape)});
    QWidget::setTabOrder(form->CloseButton, form->PCIMemo);
    form->CloseButton->setFocus();

    FitToControls(form);
    SetAnchors(form->PCIMemo, AllAnchors);
    SetAnchors(form->CloseButton, TAnchors(akBottom));
    // The list is shown at once, without any action of the user.
    form->show();

    LoadDriverLibrary();
    const int cards = DriverLoaded && GetNumCards ? int(GetNumCards()) : 0;
    bool found = false;
    if (cards > 0) {
        form->PCIMemo->clear();
        for (int index = 0; index < cards; ++index) {
            const QString line = FOnGetCardString(this, index);
            if (!line.isEmpty()) {
                form->PCIMemo->appendPlainText(line);
                found = true;
            }
        }
    }
    if (!found)
        form->PCIMemo->setPlainText(QStringLiteral("No Card Found"));
    return found;
}

void TSetupSupporter::AddDisplayPCIEntry(const QString &cardName)
{
    QMenuBar *menuBar = nullptr;
    if (auto *window = qobject_cast<QMainWindow *>(MainWindow()))
        menuBar = qobject_cast<QMenuBar *>(window->menuWidget());
    else if (MainWindow())
        menuBar = MainWindow()->findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly);
    if (!menuBar)
        return;
    QMenu *fileMenu = nullptr;
    for (QAction *item : menuBar->actions()) {
        if (item->text() == QStringLiteral("&File")) {
            fileMenu = item->menu();
            break;
        }
    }
    if (!fileMenu)
        return;
    auto *entry = new QAction(QStringLiteral("Display ") + cardName +
                                  QStringLiteral(" Cards Installed"),
                              fileMenu);
    entry->setObjectName(QStringLiteral("DisplayPCI"));
    connect(entry, &QAction::triggered, this, [this, entry] { DisplayPCIClick(entry); });
    const QList<QAction *> existing = fileMenu->actions();
    fileMenu->insertAction(existing.isEmpty() ? nullptr : existing.first(), entry);
}

void TSetupSupporter::CloseButtonClick(QObject *sender)
{
    if (auto *control = qobject_cast<QWidget *>(sender))
        control->window()->hide();
}

void TSetupSupporter::DisplayPCIClick(QObject *)
{
    if (!FPCIForm)
        return;
    FPCIForm->show();
    FPCIForm->raise();
    FPCIForm->activateWindow();
}

void TSetupSupporter::UpdateTimer()
{
    FTimerWindow->Stop();
    if (FCalibrating || FHelpPending)
        FTimerWindow->Start(TimerInterval);
}

bool TSetupSupporter::TimerActive() const
{
    return FTimerWindow->Active();
}

void TSetupSupporter::TimerTick()
{
    if (FHelpPending) {
        if (FHelpForm) {
            FHelpForm->show();
            FHelpForm->raise();
            FHelpForm->activateWindow();
        }
        FHelpPending = false;
        UpdateTimer();
        return;
    }
    if (!FCalibrating || FInPass)
        return;
    // A pass can come back into the event loop (a handler's own dialog, the
    // error display); ticks arriving meanwhile do not start a second pass.
    FInPass = true;
    try {
        CalibrationPass();
    } catch (...) {
        FInPass = false;
        // A failed pass ends the cycle before the error is shown, so that the
        // ticks behind it do not pile one error report on another.
        SetCalibrating(false);
        throw;
    }
    FInPass = false;
}

void TSetupSupporter::SetCalibrating(bool value)
{
    if (value == FCalibrating)
        return;
    FCalibrating = value;
    UpdateTimer();
}

void TSetupSupporter::EndCalibration()
{
    if (FChangeButtons) {
        for (TChannelDisplay &display : FChannelDisplays) {
            display.ButtonClick = FOnStartButtonClick;
            if (display.ChannelButton)
                display.ChannelButton->setText(QStringLiteral("Start"));
        }
    }
    SetCalibrating(false);
}

void TSetupSupporter::PutChannelLine(quint8 channel, const QString &text)
{
    const QString line = QStringLiteral("Channel ") + QString::number(channel) + QChar('\t') + text;
    for (const TChannelDisplay &display : std::as_const(FChannelDisplays)) {
        if (display.LineList)
            ReplaceLine(display.LineList, channel, line);
    }
}

bool TSetupSupporter::AddChannelDisplay(QWidget *lineList, QAbstractButton *channelButton,
                                        QWidget *hiddenControl, TNotifyEvent buttonClick)
{
    if (FChannelDisplays.size() >= MaxChannelDisplays)
        return false;
    const int index = int(FChannelDisplays.size());
    FChannelDisplays.append({lineList, channelButton, hiddenControl, std::move(buttonClick)});
    if (channelButton) {
        // The display list only grows, so the index stays valid.
        connect(channelButton, &QAbstractButton::clicked, this, [this, index, channelButton] {
            const TNotifyEvent handler = FChannelDisplays[index].ButtonClick;
            if (handler)
                handler(channelButton);
        });
    }
    return true;
}

void TSetupSupporter::CalibrationPass()
{
    if (FOnBeginCalib)
        FOnBeginCalib(this);
    if (!FOnGetCalibString) {
        SetCalibrating(false);
        ShowMessageBox(QStringLiteral("Error: calibration begun, but OnGetCalibString isn't assigned."),
                       QStringLiteral("OnGetCalibString Not Assigned"),
                       MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST);
        EndCalibration();
        return;
    }
    for (const TChannelDisplay &display : std::as_const(FChannelDisplays)) {
        if (display.HiddenControl)
            display.HiddenControl->hide();
    }
    bool itsAllBad = true;
    // Copied, so that a handler replacing itself does not destroy the running call.
    const TCalibEvent handler = FOnGetCalibString;
    for (int channel = 0; channel < FChannels; ++channel) {
        const QString text = handler(this, quint8(channel), itsAllBad);
        PutChannelLine(quint8(channel), text);
    }
    if (!itsAllBad)
        return;
    SetCalibrating(false);
    const int answer = ShowMessageBox(
        QStringLiteral("Total A/D failure. The card may not be installed, or it may be "
                       "installed at a different base address."),
        QStringLiteral("Total A/D failure"),
        MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2 | MB_SETFOREGROUND | MB_TOPMOST);
    if (answer == IDRETRY)
        SetCalibrating(true);
    else
        EndCalibration();
}

QString TSetupSupporter::HelpText(const QString &companyName, const QString &cardName,
                                  bool series, bool multiPort, bool listsCards)
{
    QString text;
    text += QStringLiteral(
                "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2"
                "\\fcharset0 Verdana;}}{\\colortbl\\red64\\green64\\blue64;\\red255\\green255"
                "\\blue64;\\red64\\green64\\blue255;\\red255\\green64\\blue64;}\\viewkind4\\uc1"
                "\\pard\\f0\\fs32\\cf0") +
            CrLf + QStringLiteral("{\\b ");
    text += companyName + QStringLiteral(" ") + cardName;
    if (series)
        text += QStringLiteral(" Series");
    text += QStringLiteral(" Settings Program}\\par\\par\\fs24") + CrLf;
    text += QStringLiteral("This program will help you configure the option jumpers and "
                           "settings associated with this product. You should have the product "
                           "in-hand when first using this program.\\par\\par") +
            CrLf;
    text += QStringLiteral("{\\cf1\\fs24\\b Yellow circles} provide information on configuring "
                           "jumpers and switches.\\par\\par") +
            CrLf;
    text += QStringLiteral("{\\cf2\\fs24\\b Blue circles} are informational only. They provide "
                           "information on standard and optional features of the product "
                           "family.\\par\\par") +
            CrLf;
    text += QStringLiteral("{\\cf3\\fs24\\b Red circles} handle calibration and types of "
                           "configuration that require actually controlling the hardware "
                           "device. Run this settings program again once the card is "
                           "installed. ");
    text += QStringLiteral("Repeat the {\\cf1 setup circles} (using the same settings) to "
                           "configure this program, then perform the {\\cf3 calibration "
                           "circles}.\\par\\par") +
            CrLf;
    text += QStringLiteral("Mouse over the highlight circles to see configuration or "
                           "information popups for {\\cf1 setup}, {\\cf2 features}, and {\\cf3 "
                           "calibration}. Click a highlight circle to make its popup remain "
                           "on-screen. ");
    text += QStringLiteral("You can have all or as many of these popups onscreen at the same "
                           "time as you desire.\\par\\par") +
            CrLf;
    if (multiPort) {
        text += QStringLiteral("{\\fs32\\b Note:} Make sure to set the jumpers for each option "
                               "group \\emdash  the configuration options for each port are "
                               "handled identically; ");
        text += QStringLiteral("this program only shows the setup once, but you need to "
                               "perform this setup for each group of options on your "
                               "device.\\par\\par") +
                CrLf;
    }
    if (listsCards) {
        text += QStringLiteral("To see a list of ") + cardName +
                QStringLiteral(" cards installed, click \"Display ") + cardName +
                QStringLiteral(" Cards Installed\" under the File menu.\\par\\par") + CrLf;
    }
    text += QStringLiteral("}");
    return text;
}

QString TSetupSupporter::SupportText(const QString &companyName, const QString &callHow)
{
    return QStringLiteral("There are several ways to get technical support. First and fastest "
                          "is to skim the relevant sections of the manual. However, some "
                          "questions require personal assistance, and ") +
           companyName + QStringLiteral(" stands ready to provide that help. You can call us ") +
           callHow + QStringLiteral(" for any of your product questions.") + CrLf + CrLf +
           QStringLiteral("In order to provide the best and fastest support possible, we ask "
                          "that you be at your computer when you call, and have the ") +
           companyName + QStringLiteral(" product manual and Software Master CD at hand.");
}

QString TSetupSupporter::HeaderText(const QString &cardName, bool series, bool found)
{
    if (found)
        return cardName + (series ? QStringLiteral(" Series") : QString()) +
               QStringLiteral(" Settings Program");
    return QStringLiteral("No ") + cardName + (series ? QStringLiteral(" Series Card") : QString()) +
           QStringLiteral(" Found");
}

QSize TSetupSupporter::ScaledClientSize(const QSize &client, const QSize &screen)
{
    double f = std::min(screen.height() / 450.0, screen.width() / 800.0);
    if (!(f >= 1.0))
        f = 1.0;
    // Rounding to nearest with halves to even, the default rounding mode.
    return QSize(int(std::nearbyint(client.width() * f)), int(std::nearbyint(client.height() * f)));
}
