// Shared helpers of the profile file tests.
#pragma once

#include <filesystem>
#include <string>

#include "platform/File.h"
#include "xml/XmlProfile.h"

namespace tavrel::xml::testing {

// The plug-in's settings: General with EmbAppType 1, ExportType 0 and
// OptimiseCurves 1, as in golden/settings-auto.xml.
CXmlProfile& FillSettings(CXmlProfile& profile);

// The bytes of a file below tests/xml/golden.
std::string Golden(const char* name);

// A readable form of a profile: Name(ro)[key=value(ro);...] per section.
std::string Describe(const CXmlProfile& profile);

// The file opened for reading and writing without sharing, as another
// program holding it would.
platform::File HoldWithoutSharing(const std::u16string& path);

// The names of the files in a folder, sorted.
std::string FolderListing(const std::filesystem::path& folder);

}  // namespace tavrel::xml::testing
