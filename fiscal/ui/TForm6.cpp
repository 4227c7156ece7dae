#include "fiscal/ui/TForm6.h"

#include "platform/Dialogs.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/TextCodec.h"
#include "ui_TForm6.h"

#include <QStringList>

namespace quorvex::ui {

using platform::toCp1251;

TForm6::TForm6(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm6>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    m_ui->ComboBox1->setCurrentIndex(-1);
    m_ui->ComboBox2->setCurrentIndex(-1);
    platform::connectOneAtATime(m_ui->Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    platform::connectOneAtATime(m_ui->Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
    platform::connectOneAtATime(m_ui->Button3, &QPushButton::clicked, this, &TForm6::Button3Click);
    platform::connectOneAtATime(m_ui->Button4, &QPushButton::clicked, this, &TForm6::Button4Click);
    platform::connectOneAtATime(m_ui->Button5, &QPushButton::clicked, this, &TForm6::Button5Click);
    platform::connectOneAtATime(m_ui->Button6, &QPushButton::clicked, this, &TForm6::Button6Click);
    connect(m_ui->Button7, &QPushButton::clicked, this, &QDialog::close);
}

TForm6::~TForm6() = default;

void TForm6::Button1Click()
{
    showComposed(m_lines.addComment(toCp1251(m_ui->Edit2->text())));
}

// The item order of both choices gives the type number; no choice is type 0.
void TForm6::Button2Click()
{
    showComposed(m_lines.addSeparator(m_ui->ComboBox1->currentIndex() + 1));
}

void TForm6::Button3Click()
{
    showComposed(
        m_lines.addBarcode(m_ui->ComboBox2->currentIndex() + 1, toCp1251(m_ui->Edit1->text())));
}

void TForm6::Button4Click()
{
    fiscal::printNonFiscalReceipt(m_lines.lines());
}

void TForm6::Button5Click()
{
    fiscal::closeNonFiscalReceipt();
}

void TForm6::Button6Click()
{
    m_lines.clear();
    showComposed(nullptr);
}

void TForm6::showComposed(const char* refusal)
{
    if (refusal != nullptr) {
        platform::dialogs().showMessage(refusal);
        return;
    }
    QStringList shown;
    for (const std::string& line : m_lines.lines())
        shown << platform::fromCp1251(line);
    m_ui->Memo1->setPlainText(shown.join(QLatin1Char('\n')));
}

} // namespace quorvex::ui
