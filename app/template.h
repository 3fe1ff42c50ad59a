#pragma once
// The main window of the GRD-KTX setup program: the photograph of the card with
// its highlight circles, the option panels and the menus.

#include "SetupCtrls.h"

#include <QMainWindow>
#include <array>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;

class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // The outer size the window takes when it is not maximised.
    static constexpr QSize NormalOuterSize{831, 645};

    // Components, named as on the form.
    QMenuBar *MainMenu1 = nullptr;
    QMenu *File1 = nullptr;
    QAction *Exit2 = nullptr;
    QMenu *Help1 = nullptr;
    QAction *Howtousethisprogram1 = nullptr;
    QAction *TechnicalSupport1 = nullptr;
    TBoardImage *BoardImage1 = nullptr;

    // Highlight circles on the card and the option panels their popups show.
    TBoardHighlight *BaseHighlight = nullptr;
    TBoardHighlight *IRQHighlight0 = nullptr;
    TBoardHighlight *IRQHighlight1 = nullptr;
    TBoardHighlight *EnableHighlight = nullptr;
    TRadioPanel *EnablePanel = nullptr;
    TRadioPanel *BasePanel = nullptr;
    TRadioPanel *IRQPanel = nullptr;

    // Relay enabling: the relay mode list and jumper JP3.
    TThreeJumper *EnableJumper = nullptr;
    QLabel *Label13 = nullptr;
    QComboBox *EnableBox = nullptr;
    // Base address: the edit box, the address switch and the feedback label.
    TBaseAddress *BaseBA = nullptr;
    QLabel *BaseFeedbackLabel = nullptr;
    QLineEdit *BaseEdit = nullptr;
    // Interrupt level: the list and the jumpers, made at the panel's first entry.
    QComboBox *IRQBox = nullptr;
    // Entry k (1 to 11) is the jumper of item k of IRQBox; entry 0 stays empty.
    std::array<TTwoJumper *, 12> IRQJumpers{};

    // Help and support: the header line, the help and support windows.
    TSetupSupporter *SetSup = nullptr;

    // Handlers.
    void Exit2Click(QObject *sender);
    void Howtousethisprogram1Click(QObject *sender);
    void TechnicalSupport1Click(QObject *sender);
    void FormCreate(QObject *sender);
    void EnableBoxChange(QObject *sender);
    void EnableJumperClick(QObject *sender);
    void EnablePanelEnter(QObject *sender);
    void IRQPanelEnter(QObject *sender);
    void IRQJumperClick(QObject *sender);
    void IRQBoxChange(QObject *sender);
    void BaseEditChange(QObject *sender);

    // The client area: controls placed on the window are its children.
    QWidget *Client() const { return centralWidget(); }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void CreateComponents();
    void CreateHighlightsAndPanels();
    void CreateOptionControls();
    void CreateSupporter();
    void ConnectHandlers();
    void FitNormalGeometry();

    bool FNormalGeometryFitted = false;
};
