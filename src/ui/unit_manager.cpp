#include "ui/unit_manager.h"

#include <QString>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "toolkit/grid.h"
#include "ui/skin.h"
#include "ui/unit_manager_design.h"
#include "units/app_state.h"
#include "units/category.h"
#include "units/unit_list.h"

namespace velmora {
namespace {

constexpr int kNumberColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kFactorColumn = 2;

// Title of the messages that have none of their own.
const QString kManagerTitle = QStringLiteral("单位管理器");

constexpr const char* kCommandButtons[] = {kApplyButton, kAddUnitButton, kDeleteUnitButton,
                                           kMoveUpButton, kMoveDownButton};

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// One opening of the window: the handlers share it, and it goes with their table.
class UnitManager {
 public:
  explicit UnitManager(AppState& app) : app_(app) {}

  void Open(const EventArgs& e) {
    ApplyWindowShape(e.window);
    ApplyInterfaceStyle(app_.settings, e.window);
    const Control first = FindControl(e.window, CategoryButtonName(1));
    for (int page = 2; page <= kCategoryCount; ++page) {
      if (page != kTemperaturePage) {
        RedirectEvents(FindControl(e.window, CategoryButtonName(page)), first);
      }
    }
    for (int page = 1; page <= kCategoryCount; ++page) {
      SetText(FindControl(e.window, CategoryButtonName(page)),
              FromUtf8(ReadSetting(kButtonNamesSection, CategoryButtonName(page))));
    }
    const Control grid = Grid(e.window);
    SetGridColumnWidth(grid, kNameColumn, 135);
    SetGridColumnWidth(grid, kFactorColumn, 100);
    SetGridColumnWidth(grid, kNumberColumn, 40);
    // The numbers are the keys Apply writes; they follow the rows' order, never the user's typing.
    SetGridColumnReadOnly(grid, kNumberColumn, true);
    SetGridKeyButton(grid, Qt::Key_Delete, FindControl(e.window, kDeleteUnitButton));
  }

  void ChooseCategory(const EventArgs& e) {
    ChosenCategory_ = e.source;
    LoadUnitGrid(e.window);
    for (const char* name : kCommandButtons) SetDisabled(FindControl(e.window, name), false);
  }

  static void ShowTemperatureNotice(const EventArgs&) {
    ShowMessageBox(QStringLiteral("由于换算不规则，温度单位不能被修改！"),
                   QStringLiteral("很遗憾！"));
  }

  void AddUnit(const EventArgs& e) {
    const std::optional<int> page = ChosenPage();
    if (!page) return;
    const Control grid = Grid(e.window);
    FinishGridEditing(grid);
    // The program reads no more units than this; another one would be stored but never shown.
    if (GridRowCount(grid) - 1 >= kMaxUnitsPerPage) {
      ShowMessageBox(
          QStringLiteral("每个类别最多只能有%1个单位，不能再加入新单位！").arg(kMaxUnitsPerPage),
          QStringLiteral("注意"));
      return;
    }
    const int selected = GridCurrentRow(grid);
    const int row = selected >= 1 ? selected + 1 : GridRowCount(grid);
    InsertGridRow(grid, row);
    SetGridCell(grid, row, kNameColumn, QStringLiteral("INPUT the name"));
    SetGridCell(grid, row, kFactorColumn, QStringLiteral("INPUT the conversion factor"));
    SetGridCurrentCell(grid, row, kNameColumn);
    Renumber(grid, *page);
  }

  void DeleteUnit(const EventArgs& e) {
    const std::optional<int> page = ChosenPage();
    if (!page) return;
    const Control grid = Grid(e.window);
    FinishGridEditing(grid);
    const int selected = GridCurrentRow(grid);
    if (selected < 1) return;
    const int column = GridCurrentColumn(grid);
    DeleteGridRow(grid, selected);
    Renumber(grid, *page);
    // The row that took its place is selected, so that deleting again goes on down the list.
    const int last = GridRowCount(grid) - 1;
    if (last >= 1) SetGridCurrentCell(grid, std::min(selected, last), column);
  }

  void MoveUnitUp(const EventArgs& e) { Move(e.window, -1); }
  void MoveUnitDown(const EventArgs& e) { Move(e.window, +1); }

  void ApplyUnitList(const EventArgs& e) {
    const std::optional<int> page = ChosenPage();
    if (!page) return;
    const Control grid = Grid(e.window);
    FinishGridEditing(grid);
    std::vector<UnitRowText> rows;
    for (int row = 1; row < GridRowCount(grid); ++row) {
      rows.push_back({GridCell(grid, row, kNameColumn).toStdString(),
                      GridCell(grid, row, kFactorColumn).toStdString()});
    }
    const StoreResult stored = StoreUnitList(*page, rows);
    if (!stored.write) {
      // The grid keeps the user's edits, so a second try after freeing the file loses nothing.
      ShowMessageBox(QStringLiteral("保存失败：%1。\n表格中的修改仍然保留，可以稍后再点击“应用”。")
                         .arg(FromUtf8(stored.write.message)),
                     QStringLiteral("保存失败"));
      return;
    }
    if (stored.commas_replaced) {
      ShowMessageBox(QStringLiteral("单位名称中不能有英文逗号“,”，已将它保存为中文逗号“，”。"),
                     QStringLiteral("注意"));
    }
    ShowMessageBox(QStringLiteral("数据保存成功！"), QStringLiteral("成功!"));
    LoadUnitGrid(e.window);
  }

 private:
  static Control Grid(Window* window) { return FindControl(window, kUnitGrid); }

  std::optional<int> ChosenPage() const {
    if (!ChosenCategory_) return std::nullopt;
    return EditablePageOfSection(Tag(ChosenCategory_).toStdString());
  }

  static void Renumber(Control grid, int page) {
    for (int row = 1; row < GridRowCount(grid); ++row) {
      SetGridCell(grid, row, kNumberColumn, QString::number(PageBase(page) + row));
    }
  }

  void LoadUnitGrid(Window* window) {
    const std::optional<int> page = ChosenPage();
    if (!page) return;
    const Control grid = Grid(window);
    SetGridCell(grid, 0, kNumberColumn, QStringLiteral("序号"));
    SetGridCell(grid, 0, kNameColumn, QStringLiteral("名称"));
    SetGridCell(grid, 0, kFactorColumn, QStringLiteral("转换倍率"));
    SetGridCurrentCell(grid, -1, -1);
    SetGridRowCount(grid, 1);
    const std::string section = UnitSection(*page);
    for (int i = 1; i <= kMaxUnitsPerPage; ++i) {
      const std::string value = ReadSetting(section, std::to_string(PageBase(*page) + i));
      if (value.empty()) break;
      SetGridRowCount(grid, i + 1);
      SetGridCell(grid, i, kNumberColumn, QString::number(PageBase(*page) + i));
      const ManagedUnit unit = ParseManagedUnit(value);
      SetGridCell(grid, i, kNameColumn, FromUtf8(unit.name));
      SetGridCell(grid, i, kFactorColumn, FromUtf8(FactorText(unit.factor)));
    }
  }

  void Move(Window* window, int step) {
    const Control grid = Grid(window);
    FinishGridEditing(grid);
    const int selected = GridCurrentRow(grid);
    if (selected < 1) {
      ShowMessageBox(QStringLiteral("请选择要移动的单位！"),
                     step < 0 ? QStringLiteral("注意") : QStringLiteral("注意！"));
      return;
    }
    const std::optional<int> page = ChosenPage();
    if (!page) return;
    // The header row is never a unit: the first unit row is the top.
    if (step < 0 && selected == 1) {
      ShowMessageBox(QStringLiteral("已经是最顶端！"), kManagerTitle);
      return;
    }
    if (step > 0 && selected == GridRowCount(grid) - 1) {
      ShowMessageBox(QStringLiteral("已经是最底端!"), kManagerTitle);
      return;
    }
    const int other = selected + step;
    for (const int column : {kNameColumn, kFactorColumn}) {
      const QString text = GridCell(grid, selected, column);
      SetGridCell(grid, selected, column, GridCell(grid, other, column));
      SetGridCell(grid, other, column, text);
    }
    SetGridCurrentCell(grid, other, kNameColumn);
    Renumber(grid, *page);
  }

  AppState& app_;
  // The category button clicked last; every command works on its section.
  Control ChosenCategory_;
};

}  // namespace

HandlerTable UnitManagerWindowHandlers(AppState& state, Window* /*main_window*/) {
  auto manager = std::make_shared<UnitManager>(state);
  const auto bind = [manager](void (UnitManager::*method)(const EventArgs&)) -> Handler {
    return [manager, method](const EventArgs& e) { ((*manager).*method)(e); };
  };
  return {
      {kOpenUnitManager, bind(&UnitManager::Open)},
      {kChooseCategory, bind(&UnitManager::ChooseCategory)},
      {kShowTemperatureNotice, &UnitManager::ShowTemperatureNotice},
      {kAddUnit, bind(&UnitManager::AddUnit)},
      {kDeleteUnit, bind(&UnitManager::DeleteUnit)},
      {kMoveUnitUp, bind(&UnitManager::MoveUnitUp)},
      {kMoveUnitDown, bind(&UnitManager::MoveUnitDown)},
      {kApplyUnitList, bind(&UnitManager::ApplyUnitList)},
      {kCloseUnitManager, [](const EventArgs& e) { DestroyWindow(e.window); }},
  };
}

}  // namespace velmora
