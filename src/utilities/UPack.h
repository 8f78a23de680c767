#pragma once
// Table rebuild window: packs the picture store, the recordings and an
// emptied log into fresh files made from the installed templates.

#include "platform/ui/Window.h"
#include "utilities/TableRebuild.h"

class QProgressBar;
class QPushButton;

namespace Pack {

// The files of each rebuild under the program directory `dir`.
TableRebuild::Files pictureFiles(const QString &dir);
TableRebuild::Files soundFiles(const QString &dir);
TableRebuild::Files logFiles(const QString &dir, int log);

} // namespace Pack

class TFUtil : public Ui::Window {
    Q_OBJECT
public:
    TFUtil();

    QProgressBar *Gauge1; // overall, in percent
    QProgressBar *Gauge2; // rows copied, no text
    QPushButton *Button1, *ButtonPSound, *ButtonLPack;

    void Button1Click();      // "Image Pack"
    void ButtonPSoundClick(); // "Sound Pack"
    void ButtonLPackClick();  // "Log Pack": only an empty log

private:
    void rebuild(const TableRebuild::Files &files, std::function<void()> closeCursors,
                 std::function<void()> reopenCursors);
    void finished();
};

extern TFUtil *FUtil;

// UtilPackClick of the main window: both gauges to 0, then the window, modal.
void showPackWindow();
