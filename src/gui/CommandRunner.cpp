#include "gui/CommandRunner.h"

#include <QString>
#include <exception>

namespace kavrin {

bool RunCommand(Dialogs& dialogs, const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        dialogs.error(QString::fromUtf8(error.what()));
    } catch (...) {
        dialogs.error(QStringLiteral("Unknown error"));
    }
    return false;
}

}  // namespace kavrin
