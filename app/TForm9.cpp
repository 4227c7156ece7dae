#include "app/TForm9.h"

#include "ui_TForm9.h"

namespace quorvex::ui {

namespace {
#ifdef QUORVEX_VERSION
constexpr const char* kVersion = QUORVEX_VERSION;
#else
constexpr const char* kVersion = "0.1.0";
#endif
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
    return QStringLiteral("Quorvex\nВерсия %1\n© Quorvex developers").arg(QLatin1String(kVersion));
}

} // namespace quorvex::ui
