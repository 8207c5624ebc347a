#include "pe_builder/pe_builder.h"

#include <fstream>
#include <stdexcept>
#include <string>

namespace pe_builder {

namespace {

// Little-endian stores into a growing image.
class Image {
 public:
  std::vector<std::uint8_t> bytes;

  void Put(std::size_t offset, std::uint64_t value, unsigned size) {
    if (bytes.size() < offset + size)
      bytes.resize(offset + size);
    for (unsigned i = 0; i < size; ++i)
      bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  void Put16(std::size_t offset, std::uint64_t value) { Put(offset, value, 2); }
  void Put32(std::size_t offset, std::uint64_t value) { Put(offset, value, 4); }
  void Put64(std::size_t offset, std::uint64_t value) { Put(offset, value, 8); }
};

constexpr std::uint32_t kPeOffset = 0x80;
constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kResourceRva = 0x1000;
constexpr std::uint32_t kResourceFileOffset = 0x200;  // the headers fill the first block
constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kRtRcdata = 10;
constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kLanguage = 0x0416;  // Portuguese (Brazil)

std::uint32_t AlignUp(std::uint32_t value, std::uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

// VS_VERSIONINFO with its VS_FIXEDFILEINFO and no children.
std::vector<std::uint8_t> VersionBlock(const Options& options) {
  const Version product = options.productVersion.value_or(
      Version{static_cast<std::uint16_t>(options.fileVersion[0] + 1),
              static_cast<std::uint16_t>(options.fileVersion[1] + 1),
              static_cast<std::uint16_t>(options.fileVersion[2] + 1),
              static_cast<std::uint16_t>(options.fileVersion[3] + 1)});
  const auto high = [](const Version& v) { return (std::uint32_t{v[0]} << 16) | v[1]; };
  const auto low = [](const Version& v) { return (std::uint32_t{v[2]} << 16) | v[3]; };

  Image block;
  const std::string key = options.fault == Fault::WrongKey ? "VS_VERSION_INFX" : "VS_VERSION_INFO";
  const std::size_t fixed = 40;  // 6 + key of 16 UTF-16 units = 38, aligned to 4
  block.Put16(0, fixed + 52);    // wLength
  block.Put16(2, 52);            // wValueLength
  block.Put16(4, 0);             // wType: binary
  for (std::size_t i = 0; i < key.size(); ++i)
    block.Put16(6 + 2 * i, static_cast<unsigned char>(key[i]));
  block.Put32(fixed + 0, options.fault == Fault::WrongSignature ? 0xFEEF04BE : 0xFEEF04BD);
  block.Put32(fixed + 4, 0x00010000);  // dwStrucVersion
  block.Put32(fixed + 8, high(options.fileVersion));
  block.Put32(fixed + 12, low(options.fileVersion));
  block.Put32(fixed + 16, high(product));
  block.Put32(fixed + 20, low(product));
  block.Put32(fixed + 24, 0x3F);     // dwFileFlagsMask
  block.Put32(fixed + 32, 0x40004);  // dwFileOS: VOS_NT_WINDOWS32
  block.Put32(fixed + 36, 1);        // dwFileType: VFT_APP
  block.Put32(fixed + 48, 0);        // dwFileDateLS, completing the 52 bytes
  return block.bytes;
}

struct Resource {
  std::uint32_t type;
  std::vector<std::uint8_t> data;
};

// The .rsrc section: root directory by type, then per resource a name directory and a
// language directory with one entry each, the data entries, and the data.
std::vector<std::uint8_t> ResourceSection(const Options& options) {
  std::vector<Resource> resources;
  resources.push_back({kRtRcdata, {'D', 'o', 's', 't', 'r', 'a'}});
  if (options.fault != Fault::NoVersionResource)
    resources.push_back({kRtVersion, VersionBlock(options)});
  const auto count = static_cast<std::uint32_t>(resources.size());

  const std::uint32_t rootSize = 16 + 8 * count;
  const std::uint32_t dataEntries = rootSize + 48 * count;
  std::uint32_t dataAt = dataEntries + 16 * count;

  Image section;
  section.Put16(12, options.fault == Fault::HugeEntryCount ? 0xFFFF : 0);  // named entries
  section.Put16(14, count);                                                // ID entries
  for (std::uint32_t i = 0; i < count; ++i) {
    const Resource& resource = resources[i];
    const bool version = resource.type == kRtVersion;
    const std::uint32_t names = rootSize + 48 * i;
    const std::uint32_t languages = names + 24;
    const std::uint32_t entry = dataEntries + 16 * i;

    section.Put32(16 + 8 * i, resource.type);
    section.Put32(16 + 8 * i + 4, kSubdirectory | names);

    section.Put16(names + 14, 1);
    section.Put32(names + 16, 1);  // the resource's ID
    const bool loop = version && options.fault == Fault::DirectoryLoop;
    section.Put32(names + 20, kSubdirectory | (loop ? names : languages));

    section.Put16(languages + 14, 1);
    section.Put32(languages + 16, kLanguage);
    section.Put32(languages + 20, entry);

    const bool tooLong = version && options.fault == Fault::DataPastSection;
    section.Put32(entry, kResourceRva + dataAt);
    section.Put32(entry + 4, tooLong ? 0x10000 : resource.data.size());

    for (std::size_t b = 0; b < resource.data.size(); ++b)
      section.Put(dataAt + b, resource.data[b], 1);
    dataAt = AlignUp(static_cast<std::uint32_t>(dataAt + resource.data.size()), 4);
  }
  section.bytes.resize(dataAt);
  return section.bytes;
}

}  // namespace

const char* FaultName(Fault fault) {
  switch (fault) {
    case Fault::None:
      return "None";
    case Fault::NotExecutable:
      return "NotExecutable";
    case Fault::PeHeaderPastEnd:
      return "PeHeaderPastEnd";
    case Fault::TruncatedHeaders:
      return "TruncatedHeaders";
    case Fault::TooManySections:
      return "TooManySections";
    case Fault::NoResourceDirectory:
      return "NoResourceDirectory";
    case Fault::UnmappedResources:
      return "UnmappedResources";
    case Fault::NoVersionResource:
      return "NoVersionResource";
    case Fault::HugeEntryCount:
      return "HugeEntryCount";
    case Fault::DirectoryLoop:
      return "DirectoryLoop";
    case Fault::DataPastSection:
      return "DataPastSection";
    case Fault::TruncatedResources:
      return "TruncatedResources";
    case Fault::WrongKey:
      return "WrongKey";
    case Fault::WrongSignature:
      return "WrongSignature";
  }
  return "?";
}

std::vector<std::uint8_t> BuildPe(const Options& options) {
  const std::vector<std::uint8_t> resources = ResourceSection(options);
  const auto resourceSize = static_cast<std::uint32_t>(resources.size());
  const std::uint32_t rawSize = AlignUp(resourceSize, kFileAlignment);
  const bool plus = options.pe32plus;

  Image image;
  image.Put16(0, 0x5A4D);  // "MZ"
  image.Put32(0x3C, options.fault == Fault::PeHeaderPastEnd ? 0xFFFFFFF0u : kPeOffset);

  image.Put32(kPeOffset, 0x00004550);  // "PE\0\0"
  const std::uint32_t coff = kPeOffset + 4;
  const std::uint32_t optionalSize = plus ? 240 : 224;
  image.Put16(coff + 0, plus ? 0x8664 : 0x014C);  // AMD64 / i386
  image.Put16(coff + 2, options.fault == Fault::TooManySections ? 200 : 1);
  image.Put16(coff + 16, optionalSize);
  // Executable without relocations; large address aware (PE32+) or 32-bit machine.
  image.Put16(coff + 18, plus ? 0x0023 : 0x0103);

  const std::uint32_t opt = coff + 20;
  image.Put16(opt + 0, plus ? 0x20B : 0x10B);
  image.Put(opt + 2, 14, 1);      // linker version
  image.Put32(opt + 8, rawSize);  // SizeOfInitializedData
  if (plus) {
    image.Put64(opt + 24, 0x140000000ull);  // ImageBase
  } else {
    image.Put32(opt + 24, kResourceRva);  // BaseOfData
    image.Put32(opt + 28, 0x00400000);    // ImageBase
  }
  image.Put32(opt + 32, kSectionAlignment);
  image.Put32(opt + 36, kFileAlignment);
  image.Put16(opt + 40, 6);  // operating system version 6.0
  image.Put16(opt + 48, 6);  // subsystem version 6.0
  image.Put32(opt + 56, kResourceRva + AlignUp(resourceSize, kSectionAlignment));  // SizeOfImage
  image.Put32(opt + 60, kResourceFileOffset);                                      // SizeOfHeaders
  image.Put16(opt + 68, 2);              // Subsystem: Windows GUI
  image.Put16(opt + 70, 0x8100);         // NX compatible, terminal server aware
  const std::uint32_t sizes = opt + 72;  // stack and heap reserve and commit
  const unsigned word = plus ? 8 : 4;
  image.Put(sizes + 0 * word, 0x100000, word);
  image.Put(sizes + 1 * word, 0x1000, word);
  image.Put(sizes + 2 * word, 0x100000, word);
  image.Put(sizes + 3 * word, 0x1000, word);
  const std::uint32_t directoryCount = plus ? opt + 108 : opt + 92;
  image.Put32(directoryCount, 16);
  const std::uint32_t resourceDirectory = directoryCount + 4 + 8 * 2;
  if (options.fault != Fault::NoResourceDirectory) {
    image.Put32(resourceDirectory,
                options.fault == Fault::UnmappedResources ? 0x9000 : kResourceRva);
    image.Put32(resourceDirectory + 4, resourceSize);
  }

  const std::uint32_t section = opt + optionalSize;
  const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
  for (unsigned i = 0; i < 8; ++i)
    image.Put(section + i, static_cast<unsigned char>(name[i]), 1);
  image.Put32(section + 8, resourceSize);  // VirtualSize
  image.Put32(section + 12, kResourceRva);
  image.Put32(section + 16, rawSize);
  image.Put32(section + 20, kResourceFileOffset);
  image.Put32(section + 36, 0x40000040);  // initialized data, readable

  image.bytes.resize(kResourceFileOffset + rawSize);
  for (std::size_t i = 0; i < resources.size(); ++i)
    image.bytes[kResourceFileOffset + i] = resources[i];

  if (options.fault == Fault::NotExecutable)
    image.Put16(0, 0x4D5A);  // "ZM"
  if (options.fault == Fault::TruncatedHeaders)
    image.bytes.resize(opt + 60);
  if (options.fault == Fault::TruncatedResources) {
    // Inside the version block: past its key, before its file version.
    const std::size_t block = kResourceFileOffset + resourceSize - 92;
    image.bytes.resize(block + 44);
  }
  return image.bytes;
}

void WritePe(const std::filesystem::path& path, const Options& options) {
  const std::vector<std::uint8_t> image = BuildPe(options);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
  file.close();
  if (!file) {
    const std::u8string name = path.u8string();
    throw std::runtime_error("cannot write " + std::string(name.begin(), name.end()));
  }
}

}  // namespace pe_builder
