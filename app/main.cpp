// verbalo: the desktop editor. `verbalo [FOLDER]` opens the projects below
// FOLDER at once; without one the start window lists the recent folders.
#include "common/hugepages.h"
#include "gui/appdelegate.h"
#include "gui/interfacelanguage.h"
#include "gui/qtuserprompts.h"

#include "rating/plauder.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv)
{
    HugePages::restartWithHugePages(argv);
    HugePages::tuneAllocator();
    Plauder::sharedInstance();

    QApplication app(argc, argv);
    // Before any window or menu exists: none of them retranslates itself.
    const InterfaceLanguage language;
    QGuiApplication::setDesktopFileName(QStringLiteral("verbalo"));
    // The shell decides when the program ends: closing the last project
    // brings the start window back instead.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("verbalo"),
                                                 QIcon(QStringLiteral(":/icons/verbalo.svg"))));

    QtUserPrompts prompts;
    AppDelegate delegate(prompts);
    delegate.applicationDidFinishLaunching(QApplication::arguments().mid(1));
    return QApplication::exec();
}
