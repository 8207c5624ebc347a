#pragma once
// Minimal Windows executables with a version resource, made by code: fixtures for the
// version reader's tests and the demo's installed executable. Besides the intact image
// it makes broken ones, each with one fault a hostile or damaged file may have.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace pe_builder {

using Version = std::array<std::uint16_t, 4>;

enum class Fault {
  None,
  NotExecutable,        // no "MZ" at the start
  PeHeaderPastEnd,      // the PE header offset points far past the end of the file
  TruncatedHeaders,     // the file ends inside the optional header
  TooManySections,      // the section table runs past the end of the file
  NoResourceDirectory,  // the resource data directory is empty
  UnmappedResources,    // the resource data directory names an address in no section
  NoVersionResource,    // resources, but none of type RT_VERSION
  HugeEntryCount,       // the root resource directory claims 65535 more entries
  DirectoryLoop,        // the version's name directory points at itself
  DataPastSection,      // the version data's size runs past its section
  TruncatedResources,   // the file ends inside the version data
  WrongKey,             // the version block's key is not "VS_VERSION_INFO"
  WrongSignature,       // VS_FIXEDFILEINFO without its signature
};

inline constexpr Fault kAllFaults[] = {
    Fault::NotExecutable,     Fault::PeHeaderPastEnd,     Fault::TruncatedHeaders,
    Fault::TooManySections,   Fault::NoResourceDirectory, Fault::UnmappedResources,
    Fault::NoVersionResource, Fault::HugeEntryCount,      Fault::DirectoryLoop,
    Fault::DataPastSection,   Fault::TruncatedResources,  Fault::WrongKey,
    Fault::WrongSignature,
};

const char* FaultName(Fault fault);

struct Options {
  Version fileVersion{1, 0, 0, 0};
  // Unset: each number of the file version plus one, so that a reader taking the
  // product version instead of the file version is caught.
  std::optional<Version> productVersion;
  bool pe32plus = false;  // PE32+ (x64) instead of PE32 (x86)
  Fault fault = Fault::None;
};

std::vector<std::uint8_t> BuildPe(const Options& options);

// Writes BuildPe's image to the file; raises std::runtime_error when that fails.
void WritePe(const std::filesystem::path& path, const Options& options);

}  // namespace pe_builder
