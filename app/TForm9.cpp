#include "app/TForm9.h"

#include "ui_TForm9.h"

namespace quorvex::ui {

namespace {
// The project's version, set by the build.
constexpr const char* kVersion = QUORVEX_VERSION;
} // namespace

TForm9::TForm9(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm9>())
{
    ui->setupUi(this);
    ui->Label1->setText(aboutText());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
}

TForm9::~TForm9() = default;

QString TForm9::aboutText()
{
    return QStringLiteral("Quorvex\nВерсия %1\n© Разработчики Quorvex")
        .arg(QLatin1String(kVersion));
}

} // namespace quorvex::ui
