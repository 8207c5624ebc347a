#include "formats/pe_version.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/file_path.h"

namespace formats {

namespace {

// A view of the image in which every read is checked; a read out of bounds gives
// nothing. Offsets are 64-bit, so offset + size never wraps for 32-bit inputs.
class Bytes {
 public:
  explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}

  std::uint64_t Size() const { return data_.size(); }

  bool Has(std::uint64_t offset, std::uint64_t size) const {
    return offset <= data_.size() && size <= data_.size() - offset;
  }

  std::optional<std::uint32_t> U16(std::uint64_t offset) const { return Read(offset, 2); }
  std::optional<std::uint32_t> U32(std::uint64_t offset) const { return Read(offset, 4); }

 private:
  std::optional<std::uint32_t> Read(std::uint64_t offset, unsigned size) const {
    if (!Has(offset, size))
      return std::nullopt;
    std::uint32_t value = 0;
    for (unsigned i = size; i-- > 0;)
      value = (value << 8) | data_[static_cast<std::size_t>(offset) + i];
    return value;
  }

  std::span<const std::uint8_t> data_;
};

struct Section {
  std::uint32_t virtualAddress;
  std::uint32_t size;  // bytes of the section present in the file
  std::uint32_t fileOffset;
};

// Where an RVA's bytes lie in the file, and how many of the section's bytes follow it.
struct Mapped {
  std::uint64_t offset;
  std::uint64_t available;
};

constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
constexpr std::uint32_t kFixedFileInfoSize = 52;

class PeReader {
 public:
  explicit PeReader(std::span<const std::uint8_t> image) : bytes_(image) {}

  std::optional<FileVersion> Read() {
    if (!ReadHeaders())
      return std::nullopt;
    const auto root = Map(resourceRva_);
    if (!root)
      return std::nullopt;
    resourceBase_ = root->offset;
    resourceSize_ = root->available;

    // Three fixed levels (type, name, language), so a directory that points back at an
    // earlier one cannot make the walk loop.
    const auto names = FindTypeDirectory(0);
    if (!names)
      return std::nullopt;
    const auto languages = FirstEntry(*names, /*wantDirectory=*/true);
    if (!languages)
      return std::nullopt;
    const auto dataEntry = FirstEntry(*languages, /*wantDirectory=*/false);
    if (!dataEntry)
      return std::nullopt;
    return ReadVersionData(*dataEntry);
  }

 private:
  bool ReadHeaders() {
    if (bytes_.U16(0) != 0x5A4D)  // "MZ"
      return false;
    const auto peOffset = bytes_.U32(0x3C);
    if (!peOffset || bytes_.U32(*peOffset) != 0x00004550)  // "PE\0\0"
      return false;
    const std::uint64_t coff = std::uint64_t{*peOffset} + 4;
    const auto sectionCount = bytes_.U16(coff + 2);
    const auto optionalSize = bytes_.U16(coff + 16);
    if (!sectionCount || !optionalSize)
      return false;
    const std::uint64_t optional = coff + 20;
    const auto magic = bytes_.U16(optional);
    std::uint64_t directoryCountAt;
    if (magic == kPe32Magic)
      directoryCountAt = 92;
    else if (magic == kPe32PlusMagic)
      directoryCountAt = 108;
    else
      return false;
    const auto directoryCount = bytes_.U32(optional + directoryCountAt);
    const std::uint64_t resourceEntry = directoryCountAt + 4 + 8 * kResourceDirectory;
    if (!directoryCount || *directoryCount <= kResourceDirectory ||
        resourceEntry + 8 > *optionalSize)
      return false;
    const auto rva = bytes_.U32(optional + resourceEntry);
    const auto size = bytes_.U32(optional + resourceEntry + 4);
    if (!rva || !size || *rva == 0 || *size == 0)
      return false;
    resourceRva_ = *rva;

    const std::uint64_t table = optional + *optionalSize;
    for (std::uint32_t i = 0; i < *sectionCount; ++i) {
      const std::uint64_t header = table + 40ull * i;
      const auto virtualSize = bytes_.U32(header + 8);
      const auto virtualAddress = bytes_.U32(header + 12);
      const auto rawSize = bytes_.U32(header + 16);
      const auto rawOffset = bytes_.U32(header + 20);
      if (!virtualSize || !virtualAddress || !rawSize || !rawOffset)
        return false;
      // Past its virtual size a section holds no data of its own.
      const std::uint32_t present =
          *virtualSize != 0 && *virtualSize < *rawSize ? *virtualSize : *rawSize;
      sections_.push_back(Section{*virtualAddress, present, *rawOffset});
    }
    return true;
  }

  std::optional<Mapped> Map(std::uint32_t rva) const {
    for (const Section& s : sections_) {
      if (rva < s.virtualAddress || rva - s.virtualAddress >= s.size)
        continue;
      const std::uint64_t delta = rva - s.virtualAddress;
      const std::uint64_t offset = std::uint64_t{s.fileOffset} + delta;
      if (offset > bytes_.Size())
        return std::nullopt;
      // A section cut short by the end of the file holds only what is there.
      const std::uint64_t inSection = s.size - delta;
      const std::uint64_t inFile = bytes_.Size() - offset;
      return Mapped{offset, inSection < inFile ? inSection : inFile};
    }
    return std::nullopt;
  }

  // A resource directory at `offset` from the resource root: its entry count, checked
  // against the bytes present so that a huge count costs nothing.
  std::optional<std::uint32_t> EntryCount(std::uint64_t offset) const {
    if (!InResources(offset, 16))
      return std::nullopt;
    const auto named = bytes_.U16(resourceBase_ + offset + 12);
    const auto ids = bytes_.U16(resourceBase_ + offset + 14);
    if (!named || !ids)
      return std::nullopt;
    const std::uint32_t count = *named + *ids;
    if (!InResources(offset + 16, 8ull * count))
      return std::nullopt;
    return count;
  }

  bool InResources(std::uint64_t offset, std::uint64_t size) const {
    return offset <= resourceSize_ && size <= resourceSize_ - offset;
  }

  // The subdirectory of type RT_VERSION in the root directory.
  std::optional<std::uint64_t> FindTypeDirectory(std::uint64_t root) const {
    const auto count = EntryCount(root);
    if (!count)
      return std::nullopt;
    for (std::uint32_t i = 0; i < *count; ++i) {
      const std::uint64_t entry = resourceBase_ + root + 16 + 8ull * i;
      const auto name = bytes_.U32(entry);
      const auto target = bytes_.U32(entry + 4);
      if (name == kRtVersion && target && (*target & kHighBit) != 0)
        return *target & ~kHighBit;
    }
    return std::nullopt;
  }

  // The first entry of a directory: a subdirectory or a data entry, as wanted.
  std::optional<std::uint64_t> FirstEntry(std::uint64_t directory, bool wantDirectory) const {
    const auto count = EntryCount(directory);
    if (!count || *count == 0)
      return std::nullopt;
    const auto target = bytes_.U32(resourceBase_ + directory + 16 + 4);
    if (!target || ((*target & kHighBit) != 0) != wantDirectory)
      return std::nullopt;
    return *target & ~kHighBit;
  }

  std::optional<FileVersion> ReadVersionData(std::uint64_t dataEntry) const {
    if (!InResources(dataEntry, 16))
      return std::nullopt;
    const auto rva = bytes_.U32(resourceBase_ + dataEntry);
    const auto size = bytes_.U32(resourceBase_ + dataEntry + 4);
    if (!rva || !size)
      return std::nullopt;
    const auto data = Map(*rva);
    if (!data || *size > data->available)
      return std::nullopt;

    // VS_VERSIONINFO: wLength, wValueLength, wType, the key "VS_VERSION_INFO" in UTF-16
    // with its terminating zero, padding to 4 bytes, then VS_FIXEDFILEINFO.
    static constexpr char16_t kKey[] = u"VS_VERSION_INFO";
    constexpr std::uint64_t keyAt = 6;
    constexpr std::uint64_t keyUnits = sizeof kKey / sizeof kKey[0];  // with the zero
    constexpr std::uint64_t fixedAt = (keyAt + 2 * keyUnits + 3) & ~std::uint64_t{3};
    const auto length = bytes_.U16(data->offset);
    const auto valueLength = bytes_.U16(data->offset + 2);
    if (!length || !valueLength || *length > *size || *length < fixedAt + kFixedFileInfoSize ||
        *valueLength < kFixedFileInfoSize)
      return std::nullopt;
    for (std::uint64_t i = 0; i < keyUnits; ++i) {
      if (bytes_.U16(data->offset + keyAt + 2 * i) != kKey[i])
        return std::nullopt;
    }
    const std::uint64_t fixed = data->offset + fixedAt;
    if (bytes_.U32(fixed) != kFixedFileInfoSignature)
      return std::nullopt;
    const auto ms = bytes_.U32(fixed + 8);
    const auto ls = bytes_.U32(fixed + 12);
    if (!ms || !ls)
      return std::nullopt;
    return FileVersion{static_cast<std::uint16_t>(*ms >> 16), static_cast<std::uint16_t>(*ms),
                       static_cast<std::uint16_t>(*ls >> 16), static_cast<std::uint16_t>(*ls)};
  }

  Bytes bytes_;
  std::vector<Section> sections_;
  std::uint32_t resourceRva_ = 0;
  std::uint64_t resourceBase_ = 0;  // file offset of the resource root directory
  std::uint64_t resourceSize_ = 0;  // bytes of the resource section from there on
};

}  // namespace

std::optional<FileVersion> ReadPeFileVersion(std::span<const std::uint8_t> image) {
  return PeReader(image).Read();
}

std::optional<FileVersion> ReadPeFileVersionFromFile(std::string_view utf8Path) {
  const std::filesystem::path path = platform::PathFromUtf8(utf8Path);
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return std::nullopt;
  std::vector<std::uint8_t> image;
  std::error_code error;
  const std::uintmax_t expected = std::filesystem::file_size(path, error);
  if (!error && expected <= kMaxPeFileSize)
    image.reserve(static_cast<std::size_t>(expected));
  // Read in blocks up to the limit rather than trusting the size asked for above: the
  // file may change meanwhile.
  constexpr std::size_t kBlock = 64 * 1024;
  while (file) {
    const std::size_t had = image.size();
    if (had > kMaxPeFileSize)
      return std::nullopt;
    image.resize(had + kBlock);
    file.read(reinterpret_cast<char*>(image.data() + had), static_cast<std::streamsize>(kBlock));
    image.resize(had + static_cast<std::size_t>(file.gcount()));
  }
  if (!file.eof() || image.size() > kMaxPeFileSize)
    return std::nullopt;
  return ReadPeFileVersion(image);
}

}  // namespace formats
