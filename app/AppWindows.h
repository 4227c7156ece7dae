#pragma once
// The windows of the program, created once at start-up and kept until the process ends: the
// sixteen forms and the exchange monitor.
#include <QWidget>

#include <array>

namespace quorvex::ui {

class MainWindow;
class ServiceCashWindow;
class ZReportWindow;
class PeriodicReportsWindow;
class SalesWindow;
class NonFiscalReceiptWindow;
class ScriptWindow;
class VariablesWindow;
class AboutWindow;
class SecondRegistrarWindow;
class ComparisonWindow;
class StatusWindow;
class ReceiptCopiesWindow;
class ModemStateWindow;
class AcquirerLinkWindow;
class RemoteAccessWindow;
class ExchangeMonitor;

// Each member is named by the window's role, its caption beside it.
struct AppWindows {
    MainWindow* main = nullptr;                       // "Quorvex", the main window
    ServiceCashWindow* serviceCash = nullptr;         // "Служебный внос/вынос"
    ZReportWindow* zReport = nullptr;                 // "Z-Отчет"
    PeriodicReportsWindow* periodicReports = nullptr; // "Периодические отчеты"
    SalesWindow* sales = nullptr;                     // "Продажи"
    NonFiscalReceiptWindow* nonFiscal = nullptr;      // "Нефискальный чек"
    ScriptWindow* script = nullptr;                   // "Команды и скрипты"
    VariablesWindow* variables = nullptr;             // "Переменные"
    AboutWindow* about = nullptr;                     // "О программе"
    SecondRegistrarWindow* secondRegistrar = nullptr; // "Подключение второго регистратора"
    ComparisonWindow* comparison = nullptr; // "Сравнительная информация регистраторов"
    StatusWindow* status = nullptr; // "Байты состояния регистратора"
    ReceiptCopiesWindow* receiptCopies = nullptr; // "Копия чека ("КСЕФ")"
    ModemStateWindow* modem = nullptr;            // "Состояние модема"
    AcquirerLinkWindow* acquirerLink = nullptr; // "Параметры связи с эквайером"
    RemoteAccessWindow* remoteAccess = nullptr; // "Параметры удаленного доступа", never opened
    ExchangeMonitor* monitor = nullptr; // "Монитор обмена", non-modal
};

} // namespace quorvex::ui
