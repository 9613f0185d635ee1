// The main window's menu tree and tool bar as data: every item by its
// designer name, its parent, and its shortcut; the captions come from the
// interface string table (mainwindow/uistrings.h), the few without an entry
// keep the built-in caption given here.
#pragma once

#include <string_view>

struct MenuNode {
  const char* Name;        // designer name of the item ("-" for a separator)
  const char* Parent;      // designer name of the menu that holds it ("" = the menu bar)
  const char* Caption;     // built-in caption (UTF-8), used where no entry gives one
  const char* Shortcut;    // platform key sequence, "" for none
  bool Hidden = false;     // present but not shown
  bool Checkable = false;  // carries a check mark
};

// In menu order; a separator's name is "-".
inline constexpr MenuNode kMenuTree[] = {
    // Файл
    {"N1", "", "Файл", ""},
    {"N8", "N1", "Создать БД", ""},
    {"N9", "N1", "Открыть БД", ""},
    {"N10", "N1", "Закрыть БД", ""},
    {"N15", "N1", "Сохранить БД", "Ctrl+S"},
    {"N16", "N1", "Сохранить БД как...", "Ctrl+Shift+S"},
    {"-", "N1", "", ""},
    {"N110", "N1", "Формирование документа", ""},
    {"N47", "N110", "Бланки", "Ctrl+P"},
    {"N134", "N110", "Дизайнер документов", "Ctrl+Alt+P"},
    {"N18", "N1", "Печать", "Ctrl+P"},
    {"-", "N1", "", ""},
    {"N20", "N1", "Выход", "Alt+F4"},
    // Правка
    {"N2", "", "Правка", ""},
    {"N21", "N2", "Отмена", "Ctrl+Z"},
    {"-", "N2", "", ""},
    {"N23", "N2", "Копировать окно в буфер", "Ctrl+C"},
    {"BMP1", "N2", "Копировать окно в BMP-файл", "Ctrl+Shift+C"},
    {"-", "N2", "", ""},
    {"N25", "N2", "Поиск в БД на диске", "Ctrl+F"},
    // Вид
    {"N3", "", "Вид", ""},
    {"N71", "N3", "Карта стандартная", "", false, true},
    {"N73", "N3", "Карта с лунными стоянками", "", false, true},
    {"N74", "N3", "Карта с парсами", "", false, true},
    {"N75", "N3", "Карта со средними точками", "", false, true},
    {"-", "N3", "", ""},
    {"N26", "N3", "База данных", "", false, true},
    {"N27", "N3", "Аспекты", "", false, true},
    {"-", "N3", "", ""},
    {"N29", "N3", "Система изображения", ""},
    {"N61", "N29", "Европейский стиль", "", false, true},
    {"N62", "N29", "Американский стиль", "", false, true},
    {"N30", "N3", "Ориентация", ""},
    {"N63", "N30", "Овен слева", "", false, true},
    {"N64", "N30", "Овен справа", "", false, true},
    {"N65", "N30", "Asc слева", "", false, true},
    {"N66", "N30", "Asc справа", "", false, true},
    {"N32", "N3", "Линии минорных аспектов", ""},
    {"N111", "N32", "Сплошные", "", false, true},
    {"N112", "N32", "Прерывистые", "", false, true},
    {"N33", "N3", "Цвета", ""},
    {"N113", "N33", "Стихии", ""},
    {"N114", "N113", "Огонь", ""},
    {"N115", "N113", "Земля", ""},
    {"N116", "N113", "Воздух", ""},
    {"N117", "N113", "Вода", ""},
    {"N118", "N33", "Заливка стихий штриховкой", ""},
    {"N119", "N33", "Убрать заливку стихий", ""},
    {"-", "N33", "", ""},
    {"N120", "N33", "Дома", ""},
    {"N121", "N120", "Кардинальные", ""},
    {"N122", "N120", "Фиксированные", ""},
    {"N123", "N120", "Мутабельные", ""},
    {"N124", "N33", "Заливка домов штриховкой", ""},
    {"N125", "N33", "Убрать заливку домов", ""},
    {"-", "N33", "", ""},
    {"N126", "N33", "Карта", ""},
    {"N127", "N33", "Фон", ""},
    {"N128", "N33", "Планеты", ""},
    {"N129", "N33", "Круги", ""},
    {"N130", "N33", "Символы Зодиака и домов", ""},
    {"N131", "N33", "Аспекты", ""},
    {"N132", "N131", "Гармоничные", ""},
    {"N133", "N131", "Напряженные", ""},
    // Данные
    {"N67", "", "Данные", ""},
    {"N85", "N67", "Ввод данных", "Ctrl+N"},
    {"-", "N67", "", ""},
    {"N12", "N67", "Добавить раздел БД", ""},
    {"N13", "N67", "Удалить раздел БД", ""},
    {"-", "N67", "", ""},
    {"N68", "N67", "Загрузить текущую запись БД", ""},
    {"N69", "N67", "Поместить текущую карту в БД", ""},
    {"N70", "N67", "Удалить текущую карту из БД", ""},
    // Вопрос
    {"N55", "", "Вопрос", ""},
    {"N56", "N55", "Выбор дома кверента", ""},
    {"N57", "N55", "Выбор дома вопроса", ""},
    // Анализ
    {"N4", "", "Анализ", ""},
    {"N49", "N4", "Радикальность", "Ctrl+R"},
    {"N50", "N4", "Сигнификаторы", "Ctrl+Shift+R"},
    {"N53", "N4", "Признаки завершения", "Alt+R"},
    {"-", "N4", "", ""},
    {"N51", "N4", "Поменять местами планеты в рецепции", "Ctrl+Alt+R"},
    {"N145", "N4", "Вернуть планеты в рецепции", ""},
    {"-", "N4", "", ""},
    {"N143", "N4", "Локально-пространственная карта", "Ctrl+L"},
    {"N4sep", "N4", "", "", true},
    {"N4loc", "N4", "Описание местонахождения предмета", "", true},
    {"N4dist", "N4", "Расстояние до предмета", "", true},
    {"N4dir", "N4", "Направление поиска", "", true},
    // Таблицы
    {"N48", "", "Таблицы", ""},
    {"N45", "N48", "Положения планет", ""},
    {"N135", "N48", "Параметры планет", ""},
    {"N46", "N48", "Достоинства планет", ""},
    {"N137", "N48", "Планетарные часы", ""},
    {"N138", "N48", "Лунные дни", ""},
    // Сервис
    {"N5", "", "Сервис", ""},
    {"N77", "N5", "Системы домов", ""},
    {"N86", "N77", "Плацидус", "Shift+1", false, true},
    {"N87", "N77", "Кох", "Shift+2", false, true},
    {"N88", "N77", "Топоцентрическая", "Shift+3", false, true},
    {"N89", "N77", "Региомонтанус", "Shift+4", false, true},
    {"N90", "N77", "Порфирий", "Shift+5", false, true},
    {"N91", "N77", "Кампанус", "Shift+6", false, true},
    {"N92", "N77", "Моринус", "Shift+7", false, true},
    {"N93", "N77", "Брахмагупта", "Shift+8", false, true},
    {"N94", "N77", "Равнодомная от Asc", "Shift+9", false, true},
    {"N95", "N77", "Равнодомная от Mc", "Shift+0", false, true},
    {"N96", "N77", "Солнечная", "Shift+-", false, true},
    {"N97", "N77", "Медицинская", "Shift+=", false, true},
    {"N98", "N77", "Зариэля", "Shift+Q", false, true},
    {"N99", "N77", "Арктуровская", "Shift+W", false, true},
    {"N100", "N77", "Горизонтальная", "Shift+E", false, true},
    {"N102", "N77", "Ал-Кабиси", "Shift+R", false, true},
    {"N103", "N77", "Полудуг Ал-Кабиси", "", true, true},
    {"N104", "N77", "Эванса", "Shift+T", false, true},
    {"N105", "N77", "Знак-Дом", "Shift+Y", false, true},
    {"N106", "N77", "Солнечных знаков", "Shift+U", false, true},
    {"N107", "N77", "Лунных знаков", "Shift+I", false, true},
    {"N108", "N77", "от кармического Asc", "Shift+O", false, true},
    {"N109", "N77", "Атла", "Shift+P", false, true},
    {"N35", "N5", "Объекты карты", ""},
    {"N78", "N35", "7 планет + узлы", ""},
    {"N79", "N35", "7 планет (асп) +3 (не асп) + узлы", ""},
    {"N101", "N35", "10 планет + узлы", ""},
    {"N80", "N35", "Устанавливаются пользователем", "Ctrl+O"},
    {"N36", "N5", "Аспекты карты", ""},
    {"N81", "N36", "Мажорные", ""},
    {"N82", "N36", "Минорные", ""},
    {"N83", "N36", "Устанавливаются пользователем", "Ctrl+A"},
    {"-", "N5", "", ""},
    {"N140", "N5", "Редактор парсов", ""},
    {"N141", "N5", "Редактор орбисов", ""},
    {"N38", "N5", "Параметры кругов карты", ""},
    {"-", "N5", "", ""},
    {"N34", "N5", "Параметры", ""},
    // Окно (hidden)
    {"N6", "", "Окно", "", true},
    {"N39", "N6", "Мозаикой", ""},
    {"N40", "N6", "Каскадом", ""},
    {"N41", "N6", "Упорядочить значки", ""},
    {"N43", "N6", "Карта", "", true, true},
    // ?
    {"N7", "", "?", ""},
    {"N44", "N7", "О программе", ""},
    // Help: shown only when the first menu reads "File"
    {"Help", "", "Help", "", true},
};

// House-system items in menu order: item n-1 selects system n.
inline constexpr const char* kHouseSystemItems[23] = {
    "N86", "N87", "N88",  "N89",  "N90",  "N91",  "N92",  "N93",  "N94",  "N95",  "N96", "N97",
    "N98", "N99", "N100", "N102", "N103", "N104", "N105", "N106", "N107", "N108", "N109"};

// The tool bar, left to right; "|" separates the groups. Each button stands
// for a menu item and does what it does.
struct ToolButtonNode {
  const char* Name;  // designer name, or "|" for a group bevel
  const char* Item;  // the menu item it stands for
};
inline constexpr ToolButtonNode kToolBar[] = {
    {"SpeedButton1", "N8"},
    {"SpeedButton2", "N9"},
    {"SpeedButton3", "N15"},
    {"SpeedButton23", "N12"},
    {"SpeedButton24", "N13"},
    {"SpeedButton25", "N69"},
    {"SpeedButton26", "N70"},
    {"SpeedButton27", "N68"},
    {"|", ""},
    {"SpeedButton20", "N85"},
    {"SpeedButton21", "N80"},
    {"SpeedButton22", "N83"},
    {"|", ""},
    {"SpeedButton4", "N47"},
    {"SpeedButton18", "N134"},
    {"SpeedButton9", "N18"},
    {"SpeedButton5", "N23"},
    {"SpeedButton7", "BMP1"},
    {"SpeedButton16", "N21"},
    {"|", ""},
    {"SpeedButton12", "N56"},
    {"SpeedButton13", "N57"},
    {"|", ""},
    {"SpeedButton15", "N50"},
    {"SpeedButton14", "N49"},
    {"SpeedButton17", "N53"},
    {"|", ""},
    {"SpeedButton8", "N45"},
    {"SpeedButton66", "N46"},
    {"SpeedButton10", "N135"},
    {"SpeedButton11", "N137"},
    {"SpeedButton6", "N138"},
    {"SpeedButton54", "N143"},
};

// Items and buttons disabled when the window is built.
inline constexpr const char* kDisabledAtStart[] = {
    "N10",           "N15",           "N16",           "N18",           "N21",
    "N26",           "N12",           "N13",           "N68",           "N69",
    "N70",           "N145",          "N53",           "SpeedButton3",  "SpeedButton23",
    "SpeedButton24", "SpeedButton25", "SpeedButton26", "SpeedButton27", "SpeedButton9",
    "SpeedButton16", "SpeedButton17"};

// Status bar panel widths in pixels: chart name, house system, planetary
// hour's ruler, lunar day, day's ruler, date and time of the chart.
inline constexpr int kStatusPanelWidths[6] = {200, 175, 100, 55, 105, 110};
