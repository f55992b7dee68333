#pragma once

#include <QHash>
#include <QMultiHash>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "toolkit/design.h"
#include "toolkit/private/event_dispatch.h"

namespace velmora {

class Window;

// The index of a window's controls (designed controls, their copies, menu items and the window
// itself): by object, by design name and by tag, with the bindings each one's events run. It
// also keeps the designs made on first use that are not made yet, by name and by tag.
class ControlIndex {
 public:
  struct Record {
    Kind kind = Kind::Label;
    const ControlDesign* design = nullptr;
    Bindings bindings{};
    // The control whose handlers run for this one's events (RedirectEvents); nullptr: its own.
    QObject* redirect = nullptr;
    bool tagged = false;
    int tag_key = 0;
  };

  // Adds `object` and sets its tag property; the tag makes it found by FindByTag.
  void Add(QObject* object, Record record, const QString& tag);
  // Adds `object` (the window itself) without a tag.
  void AddUntagged(QObject* object, const Record& record) { records_.insert(object, record); }
  // Makes `object` the one found by `name`.
  void Name(const QString& name, QObject* object);
  // Takes `object` out of every index; redirections to it end.
  void Remove(QObject* object);

  const Record* Find(const QObject* object) const;
  // The record whose bindings run for `object`'s events: its own, or its redirection's; nullptr
  // when either is unknown.
  const Record* Handling(const QObject* object) const;
  bool Contains(const QObject* object) const {
    return records_.contains(const_cast<QObject*>(object));
  }
  QObject* ByName(const QString& name) const { return by_name_.value(name); }
  QObject* ByTag(int tag) const { return by_tag_.value(tag); }
  // Follows a tag that code changed.
  void Retag(QObject* object, const QString& tag);
  // From now on `source`'s events run `target`'s handlers; `target` == `source` undoes it.
  void Redirect(QObject* source, QObject* target);
  // The copies of the designed control `original` (the controls of its design but itself).
  std::vector<QObject*> CopiesOf(const QObject* original) const;
  // Calls `visit(object, record)` for every indexed object, in no particular order.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (auto it = records_.cbegin(); it != records_.cend(); ++it) visit(it.key(), it.value());
  }

  // A design made on first use, waiting; found by name and tag until Take takes it.
  void AddPending(const ControlDesign* design);
  bool IsPending(const QString& name) const { return pending_.contains(name); }
  // The name of the waiting design with this tag; nothing when none waits.
  std::optional<QString> PendingByTag(int tag) const {
    const auto found = pending_tags_.constFind(tag);
    return found != pending_tags_.cend() ? std::optional<QString>(*found) : std::nullopt;
  }
  // Takes the waiting design by this name out of the index; nullptr when none waits.
  const ControlDesign* TakePending(const QString& name);

 private:
  QHash<QObject*, Record> records_;
  QHash<QString, QObject*> by_name_;
  QMultiHash<int, QObject*> by_tag_;
  QHash<QString, const ControlDesign*> pending_;
  QHash<int, QString> pending_tags_;
};

// The tag as FindControlByTag reads it: the number at its start, truncated toward zero. False for
// a tag that is empty or holds no number in the range of int.
bool TagKey(const QString& tag, int* key);

// The open (not destroying) top-level window with this design name, or nullptr.
Window* FindOpenWindow(const QString& name);
// The window a toolkit object belongs to, or nullptr.
Window* OwningWindow(QObject* object);

}  // namespace velmora
