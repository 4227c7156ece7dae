#include "platform/qt/ModalWindow.h"

#include "platform/qt/OneClickAtATime.h"

#include <QDialog>

namespace quorvex::platform {

int execModal(QDialog& window)
{
    window.setWindowModality(window.parentWidget() != nullptr ? Qt::WindowModal
                                                              : Qt::ApplicationModal);
    const OperationPause pause;
    return window.exec();
}

} // namespace quorvex::platform
