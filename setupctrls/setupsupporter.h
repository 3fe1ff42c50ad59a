#pragma once
// The setup supporter: a non-visual component of the main window that builds the
// frame around the card picture at the first idle moment (the header line, the
// help window, the technical-support window and, when its owner supplies a text
// per installed card, the installed-cards window), shows the help window shortly
// afterwards, and runs the passes of a calibration cycle on its 100 ms timer.

#include "helpform.h"
#include "pciform.h"
#include "techform.h"
#include "vcl.h"

#include <QAbstractButton>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QVector>
#include <functional>

class TTimerOwner;

// The text line for one installed card, counted from 0; empty adds no line.
using TPCIEvent = std::function<QString(QObject *sender, int cardIndex)>;
// The text for one calibration channel; the handler may clear (or set) the flag
// that the whole pass shares.
using TCalibEvent = std::function<QString(QObject *sender, quint8 channel, bool &itsAllBad)>;

// One registered channel display of the calibration cycle.
struct TChannelDisplay
{
    QPointer<QWidget> LineList; // a QListWidget or QPlainTextEdit, one line per channel
    QPointer<QAbstractButton> ChannelButton;
    QPointer<QWidget> HiddenControl; // hidden by every pass
    TNotifyEvent ButtonClick;        // what the channel button does when clicked
};

class TSetupSupporter : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString CompanyName READ CompanyName WRITE SetCompanyName)
    Q_PROPERTY(QString CardNameA READ CardNameA WRITE SetCardNameA)
    Q_PROPERTY(QString CardNameB READ CardNameB WRITE SetCardNameB)
    Q_PROPERTY(bool UseCardNameB READ UseCardNameB WRITE SetUseCardNameB)
    Q_PROPERTY(QString CallHow READ CallHow WRITE SetCallHow)
    Q_PROPERTY(bool MultiPort READ MultiPort WRITE SetMultiPort)
    Q_PROPERTY(quint8 Channels READ Channels WRITE SetChannels)
    Q_PROPERTY(bool ChangeButtons READ ChangeButtons WRITE SetChangeButtons)
    Q_PROPERTY(bool bSeries READ bSeries WRITE SetbSeries)

public:
    // `owner` is the main window that the build places everything on.
    explicit TSetupSupporter(QWidget *owner);
    ~TSetupSupporter() override;

    static constexpr int MaxChannelDisplays = 256;
    static constexpr int TimerInterval = 100; // milliseconds

    QString CompanyName() const { return FCompanyName; }
    void SetCompanyName(const QString &value) { FCompanyName = value; }
    QString CardNameA() const { return FCardNameA; }
    void SetCardNameA(const QString &value) { FCardNameA = value; }
    QString CardNameB() const { return FCardNameB; }
    void SetCardNameB(const QString &value) { FCardNameB = value; }
    bool UseCardNameB() const { return FUseCardNameB; }
    void SetUseCardNameB(bool value) { FUseCardNameB = value; }
    QString CallHow() const { return FCallHow; }
    void SetCallHow(const QString &value) { FCallHow = value; }
    bool MultiPort() const { return FMultiPort; }
    void SetMultiPort(bool value) { FMultiPort = value; }
    quint8 Channels() const { return FChannels; }
    void SetChannels(quint8 value) { FChannels = value; }
    bool ChangeButtons() const { return FChangeButtons; }
    void SetChangeButtons(bool value) { FChangeButtons = value; }
    bool bSeries() const { return FbSeries; }
    void SetbSeries(bool value) { FbSeries = value; }

    // The card name the build uses: CardNameB when UseCardNameB, else CardNameA.
    QString CardName() const { return FUseCardNameB ? FCardNameB : FCardNameA; }

    const TNotifyEvent &OnBeginCalib() const { return FOnBeginCalib; }
    void SetOnBeginCalib(TNotifyEvent handler);
    const TPCIEvent &OnGetCardString() const { return FOnGetCardString; }
    void SetOnGetCardString(TPCIEvent handler) { FOnGetCardString = std::move(handler); }
    const TCalibEvent &OnGetCalibString() const { return FOnGetCalibString; }
    void SetOnGetCalibString(TCalibEvent handler) { FOnGetCalibString = std::move(handler); }
    const TNotifyEvent &OnStopButtonClick() const { return FOnStopButtonClick; }
    void SetOnStopButtonClick(TNotifyEvent handler) { FOnStopButtonClick = std::move(handler); }
    const TNotifyEvent &OnStartButtonClick() const { return FOnStartButtonClick; }
    void SetOnStartButtonClick(TNotifyEvent handler) { FOnStartButtonClick = std::move(handler); }

    // The application's idle handler: removes itself from the application given as
    // `sender`, then builds everything once.
    void ApplicationIdle(QObject *sender, bool &done);
    void BuildWindows();

    // Null until the build; PCIForm stays null unless OnGetCardString was assigned.
    QLabel *HeaderLabel() const { return FHeaderLabel; }
    THelpForm *HelpForm() const { return FHelpForm; }
    TTechForm *TechForm() const { return FTechForm; }
    TPCIForm *PCIForm() const { return FPCIForm; }

    // Click handler of the Close buttons: hides the window holding `sender`.
    void CloseButtonClick(QObject *sender);
    // Click handler of the "DisplayPCI" menu entry.
    void DisplayPCIClick(QObject *sender);

    // Arms the 100 ms timer while the help window is pending or a calibration
    // cycle runs, and disarms it otherwise. Throws "Not enough timers available"
    // when the system refuses the timer.
    void UpdateTimer();
    // Shows the pending help window, or else runs a calibration pass while the
    // cycle runs. An error in a pass ends the cycle and goes on to the caller.
    void TimerTick();
    bool TimerActive() const;
    bool HelpPending() const { return FHelpPending; }

    // Calibration cycle.
    bool Calibrating() const { return FCalibrating; }
    void SetCalibrating(bool value);
    void StartCalibration() { SetCalibrating(true); }
    void EndCalibration();
    void PutChannelLine(quint8 channel, const QString &text);
    // Registers a display whose line list gets one line per channel; false when
    // MaxChannelDisplays are registered already. `buttonClick` is what the
    // channel button does until the cycle ends.
    bool AddChannelDisplay(QWidget *lineList, QAbstractButton *channelButton,
                           QWidget *hiddenControl, TNotifyEvent buttonClick = {});
    const QVector<TChannelDisplay> &ChannelDisplays() const { return FChannelDisplays; }

    // Pure pieces of the build, kept apart so that they can be checked on their own.
    static QString HelpText(const QString &companyName, const QString &cardName, bool series,
                            bool multiPort, bool listsCards);
    static QString SupportText(const QString &companyName, const QString &callHow);
    static QString HeaderText(const QString &cardName, bool series, bool found);
    // The help window's client size scaled to a screen of `screen` pixels; it never
    // shrinks.
    static QSize ScaledClientSize(const QSize &client, const QSize &screen);

private:
    QWidget *MainWindow() const;
    QWidget *ClientArea() const;
    void BuildHeaderLabel();
    void BuildHelpForm(const QString &cardName);
    void BuildTechForm();
    bool BuildPCIForm(const QString &cardName);
    void AddDisplayPCIEntry(const QString &cardName);
    void CalibrationPass();

    QString FCompanyName;
    QString FCardNameA;
    QString FCardNameB;
    bool FUseCardNameB = false;
    QString FCallHow;
    bool FMultiPort = false;
    quint8 FChannels = 8;
    bool FChangeButtons = true;
    bool FbSeries = true;
    TNotifyEvent FOnBeginCalib;
    TPCIEvent FOnGetCardString;
    TCalibEvent FOnGetCalibString;
    TNotifyEvent FOnStopButtonClick;
    TNotifyEvent FOnStartButtonClick;

    bool FHelpPending = false;
    bool FCalibrating = false;
    bool FInPass = false;
    TTimerOwner *FTimerWindow = nullptr;
    QPointer<QLabel> FHeaderLabel;
    QPointer<TPCIForm> FPCIForm;
    QPointer<THelpForm> FHelpForm;
    QPointer<TTechForm> FTechForm;
    QVector<TChannelDisplay> FChannelDisplays;
};
