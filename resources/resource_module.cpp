#include "resources/resource_module.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>
#include <utility>

#include "common/number_format.h"
#include "common/text.h"
#include "resources/resource_types.h"
#include "resources/string_block.h"

namespace qm {

namespace {

ResourceName FromIdAndText(int32_t id, const std::string& text) {
  if (id >= 0 && text.empty()) return ResourceName::Number(static_cast<uint16_t>(id));
  return ResourceName::String(text);
}

bool TypeMatches(const ResourceEntry& entry, const ResourceName& type) {
  if (!type.isString) return entry.typeId == int32_t{type.id};
  return !entry.typeName.empty() && entry.typeName == type.name;
}

}  // namespace

ResourceName ResourceEntry::Type() const { return FromIdAndText(typeId, typeName); }
ResourceName ResourceEntry::Name() const { return FromIdAndText(nameId, nameName); }

CResourceModule::CResourceModule(const IFiles& files, const std::string& path) : files_(&files) { Open(path); }

void CResourceModule::Fail(uint32_t code, std::optional<ParseError> detail) {
  m_dwLastError = code;
  lastParseError_ = detail;
}

bool CResourceModule::Open(const std::string& path) {
  Close();
  fileError_.reset();
  auto mapped = OpenModuleFile(*files_, path);
  if (!mapped) {
    Fail(mapped.error().code, ParseError{ReadError::Io, 0});
    fileError_ = mapped.error();
    return false;
  }
  file_ = std::move(mapped).value();
  auto image = PeImage::Parse(ViewOf(*file_));
  if (!image) {
    file_.reset();
    Fail(kErrorBadExeFormat, image.error());
    return false;
  }
  image_ = std::move(image).value();
  m_strPath = path;
  lastParseError_.reset();
  return true;
}

bool CResourceModule::Close() {
  if (!image_) {
    m_dwLastError = 0;
    return false;
  }
  image_.reset();
  directory_ = ResourceDirectory();
  file_.reset();
  return true;
}

bool CResourceModule::Enumerate(const std::string& path) {
  m_dwLastError = 0;
  Open(path);
  return Enumerate();
}

bool CResourceModule::Enumerate() {
  if (m_strPath.empty() || !image_) return false;
  m_entries.clear();
  entrySizes_.clear();
  m_entries.reserve(1024);
  entrySizes_.reserve(1024);
  const ImageDataDirectory* resources = image_->DirectoryEntry(IMAGE_DIRECTORY_ENTRY_RESOURCE);
  if (!resources || resources->VirtualAddress == 0) {
    directory_ = ResourceDirectory();
    Fail(kErrorResourceDataNotFound);
    return false;
  }
  auto directory = ResourceDirectory::Parse(*image_);
  if (!directory) {
    directory_ = ResourceDirectory();
    Fail(kErrorInvalidData, directory.error());
    return false;
  }
  directory_ = std::move(directory).value();
  directory_.SetUiLanguage(uiLanguage_);
  for (const auto& type : directory_.types()) {
    for (const auto& item : type.items) {
      ResourceEntry entry;
      if (type.type.isString)
        entry.typeName = type.type.name;
      else
        entry.typeId = type.type.id;
      if (item.name.isString)
        entry.nameName = item.name.name;
      else
        entry.nameId = item.name.id;
      m_entries.push_back(std::move(entry));
      const ResourceLanguage* language = item.Preferred(uiLanguage_);
      entrySizes_.push_back(language ? language->size : 0);
    }
  }
  return true;
}

int CResourceModule::GetCount(const ResourceName& type) const {
  return static_cast<int>(
      std::count_if(m_entries.begin(), m_entries.end(), [&](const ResourceEntry& e) { return TypeMatches(e, type); }));
}

uint32_t CResourceModule::GetTotalSize(const ResourceName& type) const {
  const bool all = !type.isString && type.id == 0;
  uint32_t total = 0;
  for (size_t i = 0; i < m_entries.size(); ++i) {
    if (all || TypeMatches(m_entries[i], type)) total += entrySizes_[i];
  }
  return total;
}

int CResourceModule::GetTypeCount() const {
  // Entries come type by type, but a damaged directory can repeat a type
  // anywhere and hold thousands of them: a set, not a list to search.
  std::set<std::pair<int32_t, std::string_view>> seen;
  for (const auto& entry : m_entries) seen.emplace(entry.typeId, entry.typeName);
  return static_cast<int>(seen.size());
}

ResourceEntry CResourceModule::GetEntry(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= m_entries.size()) return ResourceEntry{};
  return m_entries[static_cast<size_t>(index)];
}

uint32_t CResourceModule::GetEntrySize(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= entrySizes_.size()) return 0;
  return entrySizes_[static_cast<size_t>(index)];
}

uint32_t CResourceModule::ReadResource(const ResourceName& type, const ResourceName& name) const {
  const ResourceItem* item = directory_.Find(type, name);
  const ResourceLanguage* language = item ? item->Preferred(uiLanguage_) : nullptr;
  return language ? language->size : 0;
}

uint32_t CResourceModule::ReadResource(const ResourceName& type, const ResourceName& name,
                                       std::span<uint8_t> destination) const {
  auto data = LoadResourceData(type, name);
  if (!data) return 0;
  const size_t copied = std::min(destination.size(), data->size());
  if (copied) std::memcpy(destination.data(), data->data(), copied);
  return static_cast<uint32_t>(data->size());
}

Result<ByteView> CResourceModule::LoadResourceData(const ResourceName& type, const ResourceName& name) const {
  if (!image_) return ParseError{ReadError::NotFound, 0};
  return directory_.Load(*image_, type, name);
}

bool CResourceModule::LoadStringBlock(const ResourceName& block, std::vector<std::string>& strings) const {
  strings.clear();
  auto data = LoadResourceData(ResourceName::Number(kRtString), block);
  if (!data) return false;
  auto decoded = DecodeStringBlock(*data);
  if (!decoded) return false;
  strings = std::move(decoded).value();
  return true;
}

Result<Menu> CResourceModule::LoadMenu(const ResourceName& name) const {
  QM_TRY(data, LoadResourceData(ResourceName::Number(kRtMenu), name));
  return ParseMenuTemplate(data);
}

bool CResourceModule::WriteStringTables(const std::optional<ResourceName>& block, const std::string& path,
                                        bool resourceScript) const {
  return qm::WriteStringTables(*this, block, path,
                               resourceScript ? StringFileForm::ResourceScript : StringFileForm::PlainText);
}

std::string FormatSizeText(std::string_view pattern, uint32_t bytes) {
  const uint32_t kilobytes = bytes / 1024u + 1u;
  return FormatTable(pattern, {FormatNumber(bytes), FormatNumber(kilobytes)});
}

}  // namespace qm
