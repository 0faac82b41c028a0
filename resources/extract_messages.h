#pragma once
// What the resource browser tells the user around "Extraer todos los
// recursos...": the question before files of an earlier extraction are
// replaced, and how the extraction ended.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/system.h"
#include "resources/extract_folder.h"

namespace qm {

// The most existing files the question names; the count says the rest.
inline constexpr size_t kExtractExistingNamed = 5;

std::string ExtractOverwriteQuestion(const IStrings& strings, const std::string& folder,
                                     const std::vector<std::string>& existing);

enum class ExtractEnd { Written, Cancelled, Failed };

// The summary of a whole extraction, or the message of one that was
// cancelled or failed (naming the file that could not be written).
std::string ExtractEndText(const IStrings& strings, const ExtractFolderWriter& writer, const ModuleExtract& extract,
                           ExtractEnd end);

}  // namespace qm
