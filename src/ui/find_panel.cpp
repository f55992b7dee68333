#include "ui/find_panel.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/category_pages.h"
#include "ui/conversion_state.h"
#include "toolkit/utf8_text.h"
#include "ui/find_panel_design.h"
#include "ui/row_commands.h"
#include "units/category.h"
#include "units/unit_search.h"

namespace velmora {
namespace {

constexpr Colour kChosenBackground = 0xC86E3A;  // the menus' highlight

struct Finder {
  std::optional<UnitSearchIndex> index;
  std::vector<std::size_t> matches;
  int chosen = 0;
  // Lines made for matches past the designed ones, in list order. They live as long as the
  // window, as the designed lines do.
  std::vector<Control> more_lines;
};

bool FinderOpen(Window* window) {
  return Visible(FindControl(window, kFindPanel));
}

int LinesMade(const Finder& finder) {
  return kFindResultLines + static_cast<int>(finder.more_lines.size());
}

// Line `line` (from 0) of the list, made when the list has not had that many lines yet.
Control ResultLine(Finder& finder, Window* window, int line) {
  if (line < kFindResultLines) return FindControl(window, FindResultName(line + 1));
  const Control last = FindControl(window, FindResultName(kFindResultLines));
  while (LinesMade(finder) <= line) {
    const Control copy = CopyControl(last);
    if (!copy) return {};
    Move(copy, Left(last), LinesMade(finder) * kFindLineHeight);
    finder.more_lines.push_back(copy);
  }
  return finder.more_lines[static_cast<std::size_t>(line - kFindResultLines)];
}

int MatchCount(const Finder& finder) {
  return static_cast<int>(finder.matches.size());
}

void ShowChoice(Finder& finder, Window* window, int previous) {
  for (const int line : {previous, finder.chosen}) {
    if (line < 0 || line >= MatchCount(finder)) continue;
    const Control label = ResultLine(finder, window, line);
    const bool chosen = line == finder.chosen;
    SetBackgroundColour(label, chosen ? kChosenBackground : kLightGrey);
    SetTextColour(label, chosen ? kWhite : kBlack);
  }
  if (finder.chosen < MatchCount(finder)) {
    BringIntoView(ResultLine(finder, window, finder.chosen));
  }
}

void ShowMatches(Finder& finder, Window* window) {
  if (!finder.index) finder.index.emplace(ReadSearchableUnits());
  const QString typed = Text(FindControl(window, kFindBox));
  const QByteArray query = typed.toUtf8();
  finder.matches =
      finder.index->Search(std::string_view(query.constData(), query.size()), finder.index->size());
  finder.chosen = 0;
  const int count = MatchCount(finder);
  for (int line = 0; line < std::max(count, LinesMade(finder)); ++line) {
    const Control label = ResultLine(finder, window, line);
    const bool used = line < count;
    if (used) {
      const SearchableUnit& unit =
          finder.index->unit(finder.matches[static_cast<std::size_t>(line)]);
      QString text = FromUtf8(unit.name);
      if (!unit.caption.empty()) text += QStringLiteral(" — ") + FromUtf8(unit.caption);
      SetText(label, text);
      SetBackgroundColour(label, kLightGrey);
      SetTextColour(label, kBlack);
    }
    SetVisible(label, used);
  }
  const bool asked = !typed.trimmed().isEmpty();
  SetVisible(FindControl(window, kFindNoMatch), count == 0 && asked);
  SetText(FindControl(window, kFindCount),
          count > 0 ? FromUtf8("找到 " + std::to_string(count) + " 个单位") : QString());
  ShowChoice(finder, window, -1);
}

void OpenFinder(Finder& finder, Window* window, const QString& typed) {
  const Control box = FindControl(window, kFindBox);
  SetVisible(FindControl(window, kFindPanel), true);
  SetText(box, typed);
  SetFocus(box);
  SetCaretPosition(box, static_cast<int>(typed.size()));
  ShowMatches(finder, window);
}

void CloseFinder(Window* window) {
  SetVisible(FindControl(window, kFindPanel), false);
}

// The row of the found unit on its page as built: normally the row under the unit's number; when
// the page was built from another list, the row showing the unit's name.
Control RowOfUnit(const ConversionState& state, Window* window, const SearchableUnit& unit) {
  const auto shows = [&state](int row, const std::string& name) {
    const auto found = state.RowUnitNames.find(row);
    return found != state.RowUnitNames.end() && found->second == name;
  };
  if (shows(unit.row, unit.name)) return FindControlByTag(window, unit.row);
  const int base = PageBase(unit.page);
  for (int row = base + 1; row <= base + kMaxUnitsPerPage; ++row) {
    if (shows(row, unit.name)) return FindControlByTag(window, row);
  }
  return {};
}

void JumpTo(ConversionState& state, Finder& finder, Window* window, int line) {
  if (!finder.index || line < 0 || line >= static_cast<int>(finder.matches.size())) return;
  const SearchableUnit unit = finder.index->unit(finder.matches[static_cast<std::size_t>(line)]);
  CloseFinder(window);
  LoadCategoryPage(state, window, unit.page);
  if (const Control row = RowOfUnit(state, window, unit)) FocusForTyping(row);
}

void Choose(Finder& finder, Window* window, int step) {
  const int count = MatchCount(finder);
  if (count == 0) return;
  const int previous = finder.chosen;
  finder.chosen = std::clamp(finder.chosen + step, 0, count - 1);
  ShowChoice(finder, window, previous);
}

constexpr int kModifierMask =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

void OnKey(ConversionState& state, Finder& finder, const EventArgs& e) {
  Window* window = e.window;
  const int modifiers = e.modifiers & kModifierMask;
  const Control focused = FocusedControl(window);
  if (FinderOpen(window) && focused == FindControl(window, kFindBox) && modifiers == 0) {
    switch (e.key) {
      case Qt::Key_Up:
        return Choose(finder, window, -1);
      case Qt::Key_Down:
        return Choose(finder, window, 1);
      case Qt::Key_PageUp:
        return Choose(finder, window, 1 - kFindResultLines);
      case Qt::Key_PageDown:
        return Choose(finder, window, kFindResultLines - 1);
      case Qt::Key_Return:
      case Qt::Key_Enter:
        return JumpTo(state, finder, window, finder.chosen);
      case Qt::Key_Escape:
        return CloseFinder(window);
      default:
        return;
    }
  }
  const int row = UnitRowOf(window, focused);
  if (modifiers == Qt::ControlModifier) {
    if (e.key == Qt::Key_F) return OpenFinder(finder, window, {});
    if (e.key == Qt::Key_PageUp) return SwitchCategory(state, window, -1);
    if (e.key == Qt::Key_PageDown) return SwitchCategory(state, window, 1);
    return;
  }
  if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
    if (e.key == Qt::Key_C && row != 0) CopyRowValueAndUnit(state, focused);
    return;
  }
  if (row != 0 && modifiers == 0) {
    if (e.key == Qt::Key_Up) MoveBetweenRows(window, focused, -1);
    if (e.key == Qt::Key_Down) MoveBetweenRows(window, focused, 1);
    if (e.key == Qt::Key_Escape) ClearCurrentPage(state, window);
    return;
  }
  // A letter typed while no row takes it starts a search for it.
  if ((modifiers & ~Qt::ShiftModifier) == 0 && row == 0 && e.text.size() == 1 &&
      e.text.at(0).isLetter()) {
    OpenFinder(finder, window, e.text);
  }
}

// The row a command of the rows' menu acts on.
Control MenuRow(const EventArgs& e) {
  const Control row = ContextMenuOwner(e.window);
  return UnitRowOf(e.window, row) != 0 ? row : Control();
}

}  // namespace

void AddFindHandlers(HandlerTable& table, ConversionState& state) {
  auto finder = std::make_shared<Finder>();
  table[kOnMainWindowKey] = [&state, finder](const EventArgs& e) { OnKey(state, *finder, e); };
  table[kOnFindTextChanged] = [finder](const EventArgs& e) {
    if (FinderOpen(e.window)) ShowMatches(*finder, e.window);
  };
  // A line's place in the list says which match it shows.
  table[kJumpToFoundUnit] = [&state, finder](const EventArgs& e) {
    JumpTo(state, *finder, e.window, Top(e.source) / kFindLineHeight);
  };
  table[kCopyRowValue] = [](const EventArgs& e) {
    if (const Control row = MenuRow(e)) CopyRowValue(row);
  };
  table[kCopyRowValueAndUnit] = [&state](const EventArgs& e) {
    if (const Control row = MenuRow(e)) CopyRowValueAndUnit(state, row);
  };
  table[kPasteIntoRow] = [](const EventArgs& e) {
    if (const Control row = MenuRow(e)) PasteInto(row);
  };
  table[kSelectRowText] = [](const EventArgs& e) {
    if (const Control row = MenuRow(e)) FocusForTyping(row);
  };
  table[kClearCurrentPage] = [&state](const EventArgs& e) { ClearCurrentPage(state, e.window); };
}

}  // namespace velmora
