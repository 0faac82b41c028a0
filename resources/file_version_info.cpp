#include "resources/file_version_info.h"

#include <array>
#include <utility>

#include "common/text.h"
#include "headers/pe_image.h"
#include "resources/resource_directory.h"

namespace qm {

namespace {

constexpr uint16_t kRtVersion = 16;
constexpr uint16_t kVsVersionInfo = 1;

// The keys of fields 0 to 11, in field order.
constexpr std::array<const char*, 12> kStringKeys = {
    "ProductName", "ProductVersion", "InternalName",   "OriginalFilename", "FileDescription", "FileVersion",
    "Comments",    "CompanyName",    "LegalCopyright", "LegalTrademarks",  "PrivateBuild",    "SpecialBuild",
};

struct CodeName {
  uint32_t value;
  const char* name;
};

constexpr CodeName kOsNames[] = {
    {0x00000001, "VOS__WINDOWS16"},    {0x00000002, "VOS__PM16"},      {0x00000003, "VOS__PM32"},
    {0x00000004, "VOS__WINDOWS32"},    {0x00010000, "VOS_DOS"},        {0x00010001, "VOS_DOS_WINDOWS16"},
    {0x00010004, "VOS_DOS_WINDOWS32"}, {0x00020000, "VOS_OS216"},      {0x00020002, "VOS_OS216_PM16"},
    {0x00030000, "VOS_OS232"},         {0x00030003, "VOS_OS232_PM32"}, {0x00040000, "VOS_NT"},
    {0x00040004, "VOS_NT_WINDOWS32"},
};

constexpr CodeName kTypeNames[] = {
    {1, "VFT_APP"}, {2, "VFT_DLL"}, {3, "VFT_DRV"}, {4, "VFT_FONT"}, {5, "VFT_VXD"}, {7, "VFT_STATIC_LIB"},
};

constexpr CodeName kDriverSubtypes[] = {
    {1, "VFT2_DRV_PRINTER"}, {2, "VFT2_DRV_KEYBOARD"}, {3, "VFT2_DRV_LANGUAGE"}, {4, "VFT2_DRV_DISPLAY"},
    {5, "VFT2_DRV_MOUSE"},   {6, "VFT2_DRV_NETWORK"},  {7, "VFT2_DRV_SYSTEM"},   {8, "VFT2_DRV_INSTALLABLE"},
    {9, "VFT2_DRV_SOUND"},   {10, "VFT2_DRV_COMM"},
};

constexpr CodeName kFontSubtypes[] = {
    {1, "VFT2_FONT_RASTER"},
    {2, "VFT2_FONT_VECTOR"},
    {3, "VFT2_FONT_TRUETYPE"},
};

template <size_t N>
std::string NameOf(const CodeName (&table)[N], uint32_t value, const char* unknownFormat) {
  for (const auto& entry : table)
    if (entry.value == value) return entry.name;
  return Format(unknownFormat, value);
}

std::string VersionText(uint32_t ms, uint32_t ls) {
  return Format("v%u.%u.%u.%u", ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF);
}

}  // namespace

std::string FileOsName(uint32_t dwFileOS) { return NameOf(kOsNames, dwFileOS, "VOS_UNKNOWN [0x%08x]"); }

std::string FileTypeName(uint32_t dwFileType) { return NameOf(kTypeNames, dwFileType, "VFT_UNKNOWN [0x%08x]"); }

std::string FileSubtypeName(uint32_t dwFileType, uint32_t dwFileSubtype) {
  constexpr const char* kUnknown = "VFT2_UNKNOWN [0x%08x]";
  if (dwFileType == 3) return NameOf(kDriverSubtypes, dwFileSubtype, kUnknown);
  if (dwFileType == 4) return NameOf(kFontSubtypes, dwFileSubtype, kUnknown);
  return Format(kUnknown, dwFileSubtype);
}

Result<VersionBlock> LoadVersionBlock(ByteView file, VersionOpenFailure* failure) {
  auto fail = [&](VersionOpenFailure why, const ParseError& error) -> Result<VersionBlock> {
    if (failure) *failure = why;
    return error;
  };
  auto image = PeImage::Parse(file);
  if (!image) return fail(VersionOpenFailure::NotAModule, image.error());
  auto directory = ResourceDirectory::Parse(*image);
  if (!directory) return fail(VersionOpenFailure::BadResources, directory.error());

  const ResourceName type = ResourceName::Number(kRtVersion);
  const ResourceItem* item = directory->Find(type, ResourceName::Number(kVsVersionInfo));
  if (!item) {
    const ResourceType* versions = directory->FindType(type);
    if (versions && !versions->items.empty()) item = &versions->items.front();
  }
  const ResourceLanguage* language = item ? item->Preferred() : nullptr;
  if (!language) return fail(VersionOpenFailure::NoVersionResource, file.error(ReadError::NotFound, 0));
  auto data = ResourceDirectory::Data(*image, *language);
  if (!data) return fail(VersionOpenFailure::DamagedBlock, data.error());
  auto block = VersionBlock::Parse(*data);
  if (!block) return fail(VersionOpenFailure::DamagedBlock, block.error());
  if (failure) *failure = VersionOpenFailure::None;
  return block;
}

CFileVersionInfo::CFileVersionInfo(const Platform& platform, const std::string& path) : m_platform(platform) {
  Open(path);
}

CFileVersionInfo::~CFileVersionInfo() = default;

bool CFileVersionInfo::Fail(VersionOpenFailure failure, const ParseError& error) {
  m_failure = failure;
  m_error = error;
  return false;
}

bool CFileVersionInfo::Open(const std::string& path) {
  // The running program is read by its full path, so that a file of the
  // same name in the current directory cannot stand in for it.
  m_strPath = path.empty() ? m_platform.files->GetModuleFileName() : path;
  m_pBlock.reset();
  m_fileError.reset();

  // Mapped, not copied: the block is a few hundred bytes of the file.
  auto file = OpenModuleFile(*m_platform.files, m_strPath);
  if (!file) {
    m_fileError = file.error();
    VersionOpenFailure failure = VersionOpenFailure::CannotRead;
    if (file.error().reason == FileFailure::TooLarge) failure = VersionOpenFailure::TooLarge;
    if (file.error().reason == FileFailure::Empty || file.error().reason == FileFailure::NotAModule)
      failure = VersionOpenFailure::NotAModule;
    return Fail(failure, ParseError{ReadError::Io, 0});
  }
  VersionOpenFailure failure = VersionOpenFailure::None;
  auto block = LoadVersionBlock(ViewOf(**file), &failure);
  if (!block) return Fail(failure, block.error());
  m_pBlock = std::make_unique<VersionBlock>(std::move(block).value());

  if (!SelectTranslation(0)) return Fail(VersionOpenFailure::NoTranslation, ParseError{ReadError::NotFound, 0});
  m_failure = VersionOpenFailure::None;
  m_error = ParseError{};
  return true;
}

bool CFileVersionInfo::SelectTranslation(int n) {
  if (!m_pBlock || n < 0) return false;
  auto table = m_pBlock->Query("\\VarFileInfo\\Translation");
  if (!table) return false;
  // The stated length decides the count; an entry past the node's end is
  // not read.
  const uint64_t offset = 4 * static_cast<uint64_t>(n);
  if (static_cast<uint64_t>(n) >= table->length / 4u || !table->bytes.has(offset, 4)) return false;
  m_dwTranslation = table->bytes.get<uint32_t>(offset);
  return true;
}

std::string CFileVersionInfo::GetLanguageName() const { return m_platform.locale->VerLanguageName(m_dwTranslation); }

std::string CFileVersionInfo::GetString(std::string_view key) const {
  if (!m_pBlock || m_dwTranslation == 0) return {};
  const std::string path =
      Format("\\StringFileInfo\\%04x%04x\\", m_dwTranslation & 0xFFFF, m_dwTranslation >> 16) + std::string(key);
  auto value = m_pBlock->Query(path);
  if (!value || value->length < 1) return {};
  return value->Text();
}

std::string CFileVersionInfo::GetField(int index) const {
  if (!m_pBlock || m_dwTranslation == 0) return {};
  if (index >= 0 && index < static_cast<int>(kStringKeys.size()))
    return GetString(kStringKeys[static_cast<size_t>(index)]);
  if (index < static_cast<int>(VersionField::FixedFileVersion) || index > static_cast<int>(VersionField::FixedFileDate))
    return {};
  auto fixed = m_pBlock->Fixed();
  if (!fixed) return {};
  const FixedFileInfo& f = *fixed;
  switch (static_cast<VersionField>(index)) {
    case VersionField::FixedFileVersion:
      return VersionText(f.dwFileVersionMS, f.dwFileVersionLS);
    case VersionField::FixedProductVersion:
      return VersionText(f.dwProductVersionMS, f.dwProductVersionLS);
    case VersionField::FixedFileFlagsMask:
      return Format("0x%x", f.dwFileFlagsMask);
    case VersionField::FixedFileFlags:
      return Format("0x%x", f.dwFileFlags);
    case VersionField::FixedFileOS:
      return FileOsName(f.dwFileOS);
    case VersionField::FixedFileType:
      return FileTypeName(f.dwFileType);
    case VersionField::FixedFileSubtype:
      return FileSubtypeName(f.dwFileType, f.dwFileSubtype);
    case VersionField::FixedFileDate: {
      if (f.dwFileDateMS == 0 && f.dwFileDateLS == 0) return "null";
      const uint64_t fileTime = (uint64_t{f.dwFileDateMS} << 32) | f.dwFileDateLS;
      return m_platform.locale->FileTimeToText(fileTime).value_or(std::string());
    }
    default:
      return {};
  }
}

}  // namespace qm
