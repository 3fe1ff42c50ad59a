#include "template.h"

#include "application.h"
#include "fonts.h"
#include "vcl.h"

#include <QAction>
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
        // The anchor keeper takes a hidden control's place only when asked: without
        // this the panel would snap back to its first place when the window resizes.
        SetAnchors(p, Anchors(p));
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

    BaseHighlight->SetRadioPanel(BasePanel);
    IRQHighlight0->SetRadioPanel(IRQPanel);
    IRQHighlight1->SetRadioPanel(IRQPanel);
    EnableHighlight->SetRadioPanel(EnablePanel);
    BoardImage1->SetFirst(BaseHighlight);
}

void TMainForm::ConnectHandlers()
{
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
