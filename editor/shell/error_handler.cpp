#include "error_handler.h"

#include <new>

#include "model_text.h"

namespace quom {

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > u'.') return message + u'.';
    return message;
}

void ReportCurrentError(Dialogs& dialogs) {
    QString message;
    try {
        throw;
    } catch (const std::bad_alloc&) {
        message = QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        message = FromModelText(e.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    dialogs.ShowError(ErrorBoxText(message));
}

}  // namespace quom
