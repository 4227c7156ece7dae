#pragma once
// The windows of the program, created once at start-up and kept until the process ends: the
// sixteen forms and the exchange monitor.
#include <QWidget>

#include <array>

namespace quorvex::ui {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;
class TForm13;
class TForm14;
class TForm15;
class TForm16;
class ExchangeMonitor;

struct AppWindows {
    TForm1* form1 = nullptr;   // "Quorvex", the main window
    TForm2* form2 = nullptr;   // "Служебный внос/вынос"
    TForm3* form3 = nullptr;   // "Z-Отчет"
    TForm4* form4 = nullptr;   // "Периодические отчеты"
    TForm5* form5 = nullptr;   // "Продажи"
    TForm6* form6 = nullptr;   // "Нефискальный чек"
    TForm7* form7 = nullptr;   // "Команды и скрипты"
    TForm8* form8 = nullptr;   // "Переменные"
    TForm9* form9 = nullptr;   // "О программе"
    TForm10* form10 = nullptr; // "Подключение второго регистратора"
    TForm11* form11 = nullptr; // "Сравнительная информация регистраторов"
    TForm12* form12 = nullptr; // "Байты состояния регистратора"
    TForm13* form13 = nullptr; // receipt copies
    TForm14* form14 = nullptr; // "Состояние модема"
    TForm15* form15 = nullptr; // "Параметры связи с эквайером"
    TForm16* form16 = nullptr; // "Параметры удаленного доступа", created but never opened
    ExchangeMonitor* monitor = nullptr; // "Монитор обмена", non-modal
};

} // namespace quorvex::ui
