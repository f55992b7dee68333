#include "ui/unit_manager.h"

#include <QString>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "toolkit/grid.h"
#include "toolkit/utf8_text.h"
#include "toolkit/window.h"
#include "ui/category_pages.h"
#include "ui/conversion_handlers.h"
#include "ui/conversion_state.h"
#include "ui/skin.h"
#include "ui/unit_manager_design.h"
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

// Wide enough for a factor of 20 characters; the name column gives up what the factor needs.
constexpr int kNumberColumnWidth = 40;
constexpr int kNameColumnWidth = 100;
constexpr int kFactorColumnWidth = 138;

QString FactorProblemText(FactorProblem problem) {
  switch (problem) {
    case FactorProblem::Empty:
      return QStringLiteral("是空的");
    case FactorProblem::NotANumber:
      return QStringLiteral("不是一个数字");
    case FactorProblem::NotPositive:
      return QStringLiteral("不大于0");
    case FactorProblem::OutOfRange:
      return QStringLiteral("超出了可以计算的范围");
    case FactorProblem::TooLong:
      return QStringLiteral("无法在%1个字符内准确保存，请减少有效数字")
          .arg(kManagerFactorCharacters);
    case FactorProblem::None:
      break;
  }
  return {};
}

// A unit as the grid was loaded with it: what its cells showed, and the factor's text and number
// as the file holds them.
struct LoadedUnit {
  QString name;
  QString factor_shown;
  std::string factor_stored;
  double factor = 0.0;
};

// What Apply stores for one row, or why it cannot.
struct RowFactor {
  FactorProblem problem = FactorProblem::None;
  std::string text;
};

// One opening of the window: the handlers share it, and it goes with their table.
class UnitManager {
 public:
  UnitManager(ConversionState& app, Window* main_window) : app_(app), main_window_(main_window) {}

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
    SetGridColumnWidth(grid, kNameColumn, kNameColumnWidth);
    SetGridColumnWidth(grid, kFactorColumn, kFactorColumnWidth);
    SetGridColumnWidth(grid, kNumberColumn, kNumberColumnWidth);
    // The numbers are the keys Apply writes; they follow the rows' order, never the user's typing.
    SetGridColumnReadOnly(grid, kNumberColumn, true);
    SetGridKeyButton(grid, Qt::Key_Delete, FindControl(e.window, kDeleteUnitButton));
    // Every way of closing asks first about edits not applied yet. Escape in a cell being edited
    // only cancels that edit.
    Window* window = e.window;
    BindKey(WindowControl(window), "Escape", [this, window] {
      if (!GridEditing(Grid(window))) RequestClose(window);
    });
    SetCloseRequestHandler(window, [this, window] { RequestClose(window); });
  }

  void ChooseCategory(const EventArgs& e) {
    const Control chosen = e.source;
    if (!SettleEdits(e.window)) return;
    ChosenCategory_ = chosen;
    LoadUnitGrid(e.window);
    for (const char* name : kCommandButtons) SetDisabled(FindControl(e.window, name), false);
  }

  void Close(const EventArgs& e) { RequestClose(e.window); }

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
    origins_.insert(origins_.begin() + (row - 1), std::nullopt);
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
    if (selected <= static_cast<int>(origins_.size()))
      origins_.erase(origins_.begin() + (selected - 1));
    Renumber(grid, *page);
    // The row that took its place is selected, so that deleting again goes on down the list.
    const int last = GridRowCount(grid) - 1;
    if (last >= 1) SetGridCurrentCell(grid, std::min(selected, last), column);
  }

  void MoveUnitUp(const EventArgs& e) { Move(e.window, -1); }
  void MoveUnitDown(const EventArgs& e) { Move(e.window, +1); }

  void ApplyUnitList(const EventArgs& e) { Apply(e.window); }

 private:
  static Control Grid(Window* window) { return FindControl(window, kUnitGrid); }

  std::optional<int> ChosenPage() const {
    if (!ChosenCategory_) return std::nullopt;
    return EditablePageOfSection(Tag(ChosenCategory_).toStdString());
  }

  // Makes the grid the chosen category's stored list. Refuses, with nothing written, a factor
  // that is not a number greater than 0; a factor nobody changed is stored as the file held it.
  // Pages of the main window built from the old list are built again. Returns whether the list
  // was stored.
  bool Apply(Window* window) {
    const std::optional<int> page = ChosenPage();
    if (!page) return false;
    const Control grid = Grid(window);
    FinishGridEditing(grid);
    std::vector<UnitRowText> rows;
    for (int row = 1; row < GridRowCount(grid); ++row) {
      const RowFactor factor = FactorOfRow(grid, row);
      if (factor.problem != FactorProblem::None) {
        SetGridCurrentCell(grid, row, kFactorColumn);
        ShowFactorProblem(grid, row, factor.problem);
        return false;
      }
      rows.push_back({GridCell(grid, row, kNameColumn).toStdString(), factor.text});
    }
    const StoreResult stored = StoreUnitList(*page, rows);
    if (!stored.write) {
      // The grid keeps the user's edits, so a second try after freeing the file loses nothing.
      ShowMessageBox(QStringLiteral("保存失败：%1。\n表格中的修改仍然保留，可以稍后再点击“应用”。")
                         .arg(FromUtf8(stored.write.message)),
                     QStringLiteral("保存失败"));
      return false;
    }
    if (stored.commas_replaced) {
      ShowMessageBox(QStringLiteral("单位名称中不能有英文逗号“,”，已将它保存为中文逗号“，”。"),
                     QStringLiteral("注意"));
    }
    ShowMessageBox(QStringLiteral("数据保存成功！"), QStringLiteral("成功!"));
    ShowOnMainWindow(*page);
    LoadUnitGrid(window);
    return true;
  }

  RowFactor FactorOfRow(Control grid, int row) const {
    const QString shown = GridCell(grid, row, kFactorColumn);
    const std::size_t index = static_cast<std::size_t>(row - 1);
    if (index < origins_.size() && origins_[index]) {
      const LoadedUnit& unit = loaded_[*origins_[index]];
      if (shown == unit.factor_shown) return {ProblemOfFactor(unit.factor), unit.factor_stored};
    }
    CheckedFactor checked = CheckTypedFactor(shown.toStdString());
    return {checked.problem, std::move(checked.text)};
  }

  static void ShowFactorProblem(Control grid, int row, FactorProblem problem) {
    const QString shown = GridCell(grid, row, kFactorColumn);
    const QString factor =
        problem == FactorProblem::Empty ? QString() : QStringLiteral("“%1”").arg(shown);
    ShowMessageBox(
        QStringLiteral("第%1行（序号%2）的单位“%3”的转换倍率%4%5。\n"
                       "转换倍率必须是大于0的数字，例如 1000、0.001 或 1e-3，最多%6个字符。\n"
                       "这一次什么也没有保存，请改正这个倍率后再点击“应用”。")
            .arg(row)
            .arg(GridCell(grid, row, kNumberColumn), GridCell(grid, row, kNameColumn), factor,
                 FactorProblemText(problem))
            .arg(kManagerFactorCharacters),
        QStringLiteral("转换倍率有误"));
  }

  // A page of the main window built from the old list shows the new one, with the quantity its
  // rows showed.
  void ShowOnMainWindow(int page) {
    if (main_window_ == nullptr || IsDestroying(main_window_)) return;
    if (RebuildCategoryPage(app_, main_window_, page)) {
      ShowQuantityOnPage(app_, main_window_, page, app_.PageQuantity[page]);
    }
  }

  // Whether the grid differs from the list it was loaded with.
  bool HasUnappliedEdits(Control grid) const {
    if (!ChosenCategory_) return false;
    if (GridRowCount(grid) - 1 != static_cast<int>(loaded_.size())) return true;
    for (int row = 1; row < GridRowCount(grid); ++row) {
      const LoadedUnit& unit = loaded_[static_cast<std::size_t>(row - 1)];
      if (GridCell(grid, row, kNameColumn) != unit.name ||
          GridCell(grid, row, kFactorColumn) != unit.factor_shown) {
        return true;
      }
    }
    return false;
  }

  // Before the grid's edits would be lost: asks whether to apply them. Returns whether the caller
  // may go on (nothing to lose, applied, or dropped by the user's choice).
  bool SettleEdits(Window* window) {
    const Control grid = Grid(window);
    FinishGridEditing(grid);
    if (!HasUnappliedEdits(grid)) return true;
    const QString category = Text(ChosenCategory_);
    const int answer = AskQuestion(
        QStringLiteral("“%1”的单位列表有尚未应用的修改。\n\n"
                       "应用：保存这些修改；\n放弃：不保存，恢复原来的单位列表；\n"
                       "取消：回到单位管理器继续编辑。")
            .arg(category),
        kManagerTitle, {QStringLiteral("应用"), QStringLiteral("放弃"), QStringLiteral("取消")});
    if (answer == 0) return Apply(window);
    return answer == 1;
  }

  void RequestClose(Window* window) {
    if (IsDestroying(window)) return;
    if (!SettleEdits(window)) return;
    // Destroyed from the event loop, not from within this event: a question or message box
    // shown above ran a nested loop, after which a deletion requested here would wait for a
    // loop level that never comes back and the modal window would never end.
    QTimer::singleShot(0, window, [window] { DestroyWindow(window); });
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
    loaded_.clear();
    origins_.clear();
    const std::string section = UnitSection(*page);
    for (int i = 1; i <= kMaxUnitsPerPage; ++i) {
      const std::string value = ReadSetting(section, std::to_string(PageBase(*page) + i));
      if (value.empty()) break;
      SetGridRowCount(grid, i + 1);
      SetGridCell(grid, i, kNumberColumn, QString::number(PageBase(*page) + i));
      const ManagedUnit unit = ParseManagedUnit(value);
      const std::size_t comma = value.find(',');
      LoadedUnit loaded{FromUtf8(unit.name), FromUtf8(FactorText(unit.factor)),
                        comma == std::string::npos ? std::string() : value.substr(comma + 1),
                        unit.factor};
      SetGridCell(grid, i, kNameColumn, loaded.name);
      SetGridCell(grid, i, kFactorColumn, loaded.factor_shown);
      origins_.push_back(loaded_.size());
      loaded_.push_back(std::move(loaded));
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
    const auto at = [this](int row) { return origins_.begin() + (row - 1); };
    if (std::max(selected, other) <= static_cast<int>(origins_.size())) {
      std::iter_swap(at(selected), at(other));
    }
    SetGridCurrentCell(grid, other, kNameColumn);
    Renumber(grid, *page);
  }

  ConversionState& app_;
  Window* main_window_;
  // The category button clicked last; every command works on its section.
  Control ChosenCategory_;
  // The units the grid was loaded with, and for each unit row of the grid the loaded unit it
  // still is (moved or renamed perhaps), or nothing for a row added since.
  std::vector<LoadedUnit> loaded_;
  std::vector<std::optional<std::size_t>> origins_;
};

}  // namespace

HandlerTable UnitManagerWindowHandlers(ConversionState& state, Window* main_window) {
  auto manager = std::make_shared<UnitManager>(state, main_window);
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
      {kCloseUnitManager, bind(&UnitManager::Close)},
  };
}

}  // namespace velmora
