// The GRD-KTX setup program: shows the card and how to set its switch and jumpers.

#include "application.h"
#include "template.h"

#include <QMessageBox>

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Setup"));

    std::unique_ptr<TMainForm> form;
    try {
        form = std::make_unique<TMainForm>();
    } catch (const std::exception &error) {
        QMessageBox::critical(nullptr, QStringLiteral("Setup"), QString::fromLocal8Bit(error.what()));
        return 1;
    }
    // Before the first show: the restored size, 831 x 645 outside, centred.
    form->resize(TMainForm::NormalOuterSize);
    form->showMaximized();
    return app.exec();
}
