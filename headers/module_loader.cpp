#include "headers/module_loader.h"

namespace qm {

bool CModuleLoader::Fail(uint32_t platformError, ParseError error) {
  const std::string name = fileName_;
  Unload();
  fileName_ = name;  // kept so the caller can name the file in its message
  lastError_ = platformError;
  parseError_ = error;
  return false;
}

bool CModuleLoader::Load(std::optional<std::string> path) {
  std::string name = path ? std::move(*path) : fileName_;
  Unload();
  fileName_ = std::move(name);

  auto file = OpenModuleFile(files_, fileName_);
  if (!file) {
    const FileError refused = file.error();
    Fail(refused.code, ParseError{ReadError::Io, 0});
    fileError_ = refused;
    return false;
  }
  file_ = std::move(file).value();
  view_ = ViewOf(*file_);

  auto dos = PeImage::ReadDosHeader(view_);
  if (!dos) return Fail(0, dos.error());
  dos_ = *dos;

  auto pe = PeImage::Parse(view_, PeImage::DosSignature::Ignored);
  if (pe) {
    pe_ = std::move(pe).value();
  } else {
    // An "MZ" file without a PE signature where e_lfanew points is a plain
    // DOS program; a PE signature with damaged headers behind it is refused.
    auto signature = view_.u32(dos_.e_lfanew);
    const bool hasNtSignature = signature && *signature == IMAGE_NT_SIGNATURE;
    if (hasNtSignature || dos_.e_magic != IMAGE_DOS_SIGNATURE) {
      return Fail(0, hasNtSignature ? pe.error() : ParseError{ReadError::BadSignature, 0});
    }
  }

  image_ = LoadedImage{};
  image_.ModuleName = fileName_;
  image_.MappedAddress = view_.data();
  image_.SizeOfImage = static_cast<uint32_t>(view_.size());  // at most kMaxModuleFileBytes
  image_.Links.Flink = &image_.Links;
  image_.Links.Blink = &image_.Links;
  if (pe_) {
    image_.FileHeader = view_.data() + pe_->ntHeadersOffset();
    // The section table may be empty; its address is where it would start,
    // which PeImage has checked lies inside the file.
    image_.Sections = view_.data() + pe_->sectionTableOffset();
    image_.LastRvaSection = image_.Sections;
    image_.NumberOfSections = pe_->fileHeader().NumberOfSections;
    image_.Characteristics = pe_->fileHeader().Characteristics;
  } else {
    image_.fDOSImage = true;
  }
  loaded_ = true;
  return true;
}

void CModuleLoader::Unload() {
  loaded_ = false;
  lastError_ = 0;
  parseError_ = ParseError{};
  fileError_.reset();
  fileName_.clear();
  view_ = ByteView();
  pe_.reset();
  file_.reset();
  dos_ = ImageDosHeader{};
  image_ = LoadedImage{};
}

const ImageDataDirectory* CModuleLoader::GetDirectoryEntry(unsigned index) const {
  const PeImage* pe = GetNtHeaders();
  return pe ? pe->DirectoryEntry(index) : nullptr;
}

Result<ByteView> CModuleLoader::GetDirectoryData(unsigned index) const {
  const ImageDataDirectory* entry = GetDirectoryEntry(index);
  if (!entry || entry->VirtualAddress == 0) return ParseError{ReadError::NotFound, 0};
  return RvaToPointer(entry->VirtualAddress);
}

Result<ByteView> CModuleLoader::RvaToPointer(uint32_t rva) const {
  const PeImage* pe = GetNtHeaders();
  if (!pe) return ParseError{ReadError::NotFound, 0};
  return pe->RvaToEnd(rva);
}

}  // namespace qm
