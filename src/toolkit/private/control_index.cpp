#include "toolkit/private/control_index.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>
#include <cmath>
#include <limits>

#include "text/number_text.h"
#include "toolkit/utf8_text.h"
#include "toolkit/window.h"

namespace velmora {

bool TagKey(const QString& tag, int* key) {
  if (tag.isEmpty()) return false;
  const QByteArray utf8 = tag.toUtf8();
  const double value = std::trunc(TextToNumber(std::string_view(utf8.data(), utf8.size())));
  if (!std::isfinite(value) || value < std::numeric_limits<int>::min() ||
      value > std::numeric_limits<int>::max()) {
    return false;
  }
  *key = static_cast<int>(value);
  return true;
}

void ControlIndex::Add(QObject* object, Record record, const QString& tag) {
  object->setProperty("tag", tag);
  int key = 0;
  record.tagged = TagKey(tag, &key);
  record.tag_key = key;
  if (record.tagged) by_tag_.insert(key, object);
  records_.insert(object, record);
}

void ControlIndex::Name(const QString& name, QObject* object) {
  by_name_.insert(name, object);
}

void ControlIndex::Remove(QObject* object) {
  const auto found = records_.constFind(object);
  if (found == records_.cend()) return;
  if (found->tagged) by_tag_.remove(found->tag_key, object);
  if (found->design != nullptr) {
    const auto named = by_name_.constFind(FromUtf8(found->design->name));
    if (named != by_name_.cend() && named.value() == object) by_name_.erase(named);
  }
  for (Record& record : records_) {
    if (record.redirect == object) record.redirect = nullptr;
  }
  records_.erase(found);
}

const ControlIndex::Record* ControlIndex::Find(const QObject* object) const {
  const auto found = records_.constFind(const_cast<QObject*>(object));
  return found != records_.cend() ? &found.value() : nullptr;
}

const ControlIndex::Record* ControlIndex::Handling(const QObject* object) const {
  const Record* record = Find(object);
  if (record == nullptr || record->redirect == nullptr) return record;
  return Find(record->redirect);
}

void ControlIndex::Retag(QObject* object, const QString& tag) {
  const auto found = records_.find(object);
  if (found == records_.end()) return;
  if (found->tagged) by_tag_.remove(found->tag_key, object);
  int key = 0;
  found->tagged = TagKey(tag, &key);
  found->tag_key = key;
  if (found->tagged) by_tag_.insert(key, object);
}

void ControlIndex::Redirect(QObject* source, QObject* target) {
  const auto found = records_.find(source);
  if (found == records_.end() || !records_.contains(target)) return;
  found->redirect = target == source ? nullptr : target;
}

std::vector<QObject*> ControlIndex::CopiesOf(const QObject* original) const {
  const Record* found = Find(original);
  if (found == nullptr || found->design == nullptr) return {};
  std::vector<QObject*> copies;
  for (auto record = records_.cbegin(); record != records_.cend(); ++record) {
    if (record.key() != original && record->design == found->design) {
      copies.push_back(record.key());
    }
  }
  return copies;
}

void ControlIndex::AddPending(const ControlDesign* design) {
  const QString name = FromUtf8(design->name);
  pending_.insert(name, design);
  int key = 0;
  if (TagKey(FromUtf8(design->tag), &key)) pending_tags_.insert(key, name);
}

const ControlDesign* ControlIndex::TakePending(const QString& name) {
  const auto found = pending_.constFind(name);
  if (found == pending_.cend()) return nullptr;
  const ControlDesign* design = found.value();
  pending_.erase(found);
  int key = 0;
  if (TagKey(FromUtf8(design->tag), &key)) pending_tags_.remove(key);
  return design;
}

Window* FindOpenWindow(const QString& name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = dynamic_cast<Window*>(widget);
    if (window != nullptr && !window->destroying() && window->objectName() == name) return window;
  }
  return nullptr;
}

Window* OwningWindow(QObject* object) {
  for (QObject* current = object; current != nullptr; current = current->parent()) {
    // A widget's window is found in one step; pop-up menus and timers go through their parents.
    if (current->isWidgetType()) current = static_cast<QWidget*>(current)->window();
    if (auto* window = dynamic_cast<Window*>(current)) return window;
  }
  return nullptr;
}

}  // namespace velmora
