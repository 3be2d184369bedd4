#include "platform/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "core/vb.h"
#include "platform/text.h"

namespace qtx {

namespace {

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string escape(std::string_view v) {
  std::string out;
  for (char c : v) {
    if (c == '\\') out += "\\\\";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out.push_back(c);
  }
  return out;
}

std::string unescape(std::string_view v) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '\\' && i + 1 < v.size()) {
      char n = v[++i];
      out.push_back(n == 'r' ? '\r' : n == 'n' ? '\n' : n);
    } else {
      out.push_back(v[i]);
    }
  }
  return out;
}

}  // namespace

SettingsTable::Section* SettingsTable::find_section(std::string_view name) {
  for (auto& s : sections_)
    if (same_name(s.name, name)) return &s;
  return nullptr;
}

const SettingsTable::Section* SettingsTable::find_section(std::string_view name) const {
  for (const auto& s : sections_)
    if (same_name(s.name, name)) return &s;
  return nullptr;
}

void SettingsTable::Section::compact() {
  std::vector<Entry> kept;
  kept.reserve(entries.size() - erased);
  index.clear();
  for (Entry& e : entries) {
    if (e.erased) continue;
    index.emplace(vb::LCase(e.key), kept.size());
    kept.push_back(std::move(e));
  }
  entries = std::move(kept);
  erased = 0;
}

const std::string* SettingsTable::find(std::string_view section, std::string_view key) const {
  const Section* s = find_section(section);
  if (!s) return nullptr;
  auto it = s->index.find(vb::LCase(key));
  return it == s->index.end() ? nullptr : &s->entries[it->second].value;
}

void SettingsTable::set(std::string_view section, std::string_view key, std::string_view value) {
  Section* s = find_section(section);
  if (!s) {
    sections_.push_back(Section{std::string(section), {}, {}, 0});
    s = &sections_.back();
  }
  auto [it, added] = s->index.emplace(vb::LCase(key), s->entries.size());
  if (!added) {
    s->entries[it->second].value = std::string(value);
    return;
  }
  s->entries.push_back(Entry{std::string(key), std::string(value)});
}

bool SettingsTable::erase(std::string_view section, std::string_view key) {
  Section* s = find_section(section);
  if (!s) return false;
  auto it = s->index.find(vb::LCase(key));
  if (it == s->index.end()) return false;
  Entry& e = s->entries[it->second];
  e.erased = true;
  e.value.clear();
  s->index.erase(it);
  if (++s->erased > s->entries.size() / 2) s->compact();
  return true;
}

std::string SettingsTable::to_ini() const {
  std::string out;
  for (const auto& s : sections_) {
    if (s.index.empty()) continue;
    out += "[" + s.name + "]\n";
    for (const auto& e : s.entries)
      if (!e.erased) out += e.key + "=" + escape(e.value) + "\n";
    out += "\n";
  }
  return out;
}

SettingsTable SettingsTable::from_ini(std::string_view text) {
  SettingsTable t;
  std::string section;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t nl = text.find('\n', pos);
    std::string_view line = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
    pos = nl == std::string_view::npos ? text.size() + 1 : nl + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      auto close = line.find(']');
      if (close != std::string_view::npos) section = std::string(line.substr(1, close - 1));
      continue;
    }
    auto eq = line.find('=');
    if (eq == std::string_view::npos || section.empty()) continue;  // not a setting: skipped
    t.set(section, line.substr(0, eq), unescape(line.substr(eq + 1)));
  }
  return t;
}

std::string MemorySettingsStore::get(std::string_view section, std::string_view key, std::string_view default_value) {
  const std::string* v = table_.find(section, key);
  return v ? *v : std::string(default_value);
}

void MemorySettingsStore::save(std::string_view section, std::string_view key, std::string_view value) {
  table_.set(section, key, value);
}

void MemorySettingsStore::remove(std::string_view section, std::string_view key) { table_.erase(section, key); }

bool MemorySettingsStore::contains(std::string_view section, std::string_view key) {
  return table_.find(section, key) != nullptr;
}

std::string IniSettingsStore::default_path() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return pathFromQ(base + QStringLiteral("/qtx/qtx.ini"));
}

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

}  // namespace

IniSettingsStore::IniSettingsStore(std::string path) : path_(std::move(path)) {
  QFile f(pathToQ(path_));
  if (f.open(QIODevice::ReadOnly)) {
    QByteArray b = f.readAll();
    if (f.error() != QFileDevice::NoError) {
      unreadable_ = true;
      return;
    }
    table_ = SettingsTable::from_ini(std::string_view(b.constData(), static_cast<size_t>(b.size())));
    // A file left readable by others from before is closed to them now, not at the next change.
    f.setPermissions(kOwnerOnly);
  } else {
    unreadable_ = QFileInfo::exists(f.fileName());
  }
}

void IniSettingsStore::save(std::string_view section, std::string_view key, std::string_view value) {
  const std::string* old = table_.find(section, key);
  if (old && *old == value) return;
  MemorySettingsStore::save(section, key, value);
  changed();
}

void IniSettingsStore::remove(std::string_view section, std::string_view key) {
  if (table_.erase(section, key)) changed();
}

void IniSettingsStore::begin_batch() { ++batch_depth_; }

void IniSettingsStore::commit_batch() {
  if (batch_depth_ > 0) --batch_depth_;
  if (batch_depth_ == 0 && unwritten_) write();
}

void IniSettingsStore::changed() {
  unwritten_ = true;
  if (batch_depth_ == 0) write();
}

void IniSettingsStore::write() {
  // A store that cannot be written keeps its values for this run (and tries again at the next
  // change); settings are never worth stopping the bench work for. One whose file could not be
  // read is not written over with what little this run knows.
  if (unreadable_) return;
  QString p = pathToQ(path_);
  QDir().mkpath(QFileInfo(p).absolutePath());
  QSaveFile f(p);
  if (!f.open(QIODevice::WriteOnly)) return;
  // The temporary file, which becomes the settings file, is the owner's alone from the start.
  f.setPermissions(kOwnerOnly);
  std::string text = table_.to_ini();
  if (f.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
    f.cancelWriting();
    return;
  }
  if (f.commit()) unwritten_ = false;
}

}  // namespace qtx
