#include "app/AboutWindow.h"

#include "ui_AboutWindow.h"

namespace quorvex::ui {

namespace {
// The project's version, set by the build.
constexpr const char* kVersion = QUORVEX_VERSION;
} // namespace

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::AboutWindow>())
{
    m_ui->setupUi(this);
    m_ui->aboutLabel->setText(aboutText());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

AboutWindow::~AboutWindow() = default;

QString AboutWindow::aboutText()
{
    return QStringLiteral("Quorvex\nВерсия %1\n© Разработчики Quorvex")
        .arg(QLatin1String(kVersion));
}

} // namespace quorvex::ui
