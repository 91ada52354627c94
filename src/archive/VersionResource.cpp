#include "archive/VersionResource.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/PlatformErrors.h"
#include "platform/SystemInfo.h"
#include "platform/VersionResources.h"
#include "project/ProgramState.h"
#include "project/Text.h"

#include <charconv>
#include <functional>
#include <optional>

namespace sw {

namespace {

constexpr uint16_t kLanguageIds[] = {1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036,
                                     1037, 1038, 1039, 1040, 1041, 1042, 1043, 1044, 1045, 1046, 1047, 1048,
                                     1049, 1050, 1051, 1052, 1053, 1054, 1055, 1056, 1057, 2052, 2055, 2057,
                                     2058, 2060, 2064, 2067, 2068, 2070, 2074, 3084, 4108};
static_assert(std::size(kLanguageIds) == static_cast<size_t>(version::TLanguage::lnSwissFrench) + 1);

constexpr uint16_t kCodePages[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};
static_assert(std::size(kCodePages) == static_cast<size_t>(version::TCharacterSet::csArabic) + 1);

std::string RunningProgram() {
    ISystemInfo* system = GetPlatform().System.get();
    return system ? system->ModulePath() : std::string();
}

std::string DottedVersion(uint32_t ms, uint32_t ls) {
    return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." + std::to_string(ls >> 16) + "." +
           std::to_string(ls & 0xFFFF);
}

std::string FileOSText(uint32_t os) {
    switch (os) {
    case 1:
        return "Windows 3.0 or later";
    case 2:
        return "16 bit OS/2 Presentation Manager";
    case 3:
        return "32 bit OS/2 Presentation Manager";
    case 4:
        return "32 bit Windows";
    case 0x10000:
        return "MS-Dos";
    case 0x10001:
        return "Windows 3.0 or later with MS-Dos";
    case 0x10004:
        return "32 bit Windows with MS-Dos";
    case 0x20000:
        return "16 bit OS/2";
    case 0x20002:
        return "16 bit OS/2 with Presentation Manager";
    case 0x30000:
        return "32 bit OS/2";
    case 0x30003:
        return "32 bit OS/2 with Presentation Manager";
    case 0x40000:
        return "Windows NT";
    case 0x40004:
        return "Windows NT with 32 bit Windows";
    default:
        return "Unknown";
    }
}

std::string FileTypeText(uint32_t type) {
    switch (type) {
    case 1:
        return "Application";
    case 2:
        return "Dynamic-Link Library";
    case 3:
        return "Device Driver";
    case 4:
        return "Font";
    case 5:
        return "Virtual Device Driver";
    case 7:
        return "Static-Link Library";
    default:
        return "Unknown";
    }
}

std::string FileSubTypeText(uint32_t type, uint32_t subtype) {
    static const char* const drivers[] = {"Printer", "Keyboard", "Language",    "Display", "Mouse",
                                          "Network", "System",   "Installable", "Sound",   "Communications"};
    static const char* const fonts[] = {"Raster", "Vector", "TrueType"};
    if (type == 3)
        return subtype >= 1 && subtype <= std::size(drivers) ? drivers[subtype - 1] : "Unknown";
    if (type == 4)
        return subtype >= 1 && subtype <= std::size(fonts) ? fonts[subtype - 1] : "Unknown";
    return {};
}

// A piece converts when it is an optional sign and decimal digits within Int32.
std::optional<int32_t> PieceNumber(std::string_view piece) {
    if (!piece.empty() && piece[0] == '+')
        piece.remove_prefix(1);
    int32_t value = 0;
    auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (error != std::errc() || end != piece.data() + piece.size() || piece.empty())
        return std::nullopt;
    return value;
}

// The k-th (0-based) piece between dots; empty beyond the last.
std::string_view Piece(std::string_view version, int k) {
    size_t begin = 0;
    for (int i = 0; i < k; ++i) {
        const size_t dot = version.find('.', begin);
        if (dot == std::string_view::npos)
            return {};
        begin = dot + 1;
    }
    return version.substr(begin, version.find('.', begin) - begin);
}

std::string FileVersionOf(const std::string& path) {
    TVersionResource& reader = SharedVersionResource();
    reader.SetFileName(path);
    return reader.VersionInfo()->FileVersion;
}

// The file's date-time stamp as a day count; nothing when it cannot be opened.
std::optional<double> FileDayCount(const std::string& path) {
    try {
        std::unique_ptr<IFile> file = GetPlatform().Files->OpenFile(path, FileMode::Read);
        if (!file)
            return std::nullopt;
        return DateTimeToDayCount(DecodeFileStamp(file->Stamp()));
    } catch (const Exception&) {
        return std::nullopt;
    }
}

TFileCompareResult ByOrder(int order) {
    return order == 0  ? TFileCompareResult::fcSame
           : order > 0 ? TFileCompareResult::fcReplace
                       : TFileCompareResult::fcKeep;
}

TFileCompareResult ByDate(std::optional<double> source, const std::string& dest) {
    const std::optional<double> destDate = FileDayCount(dest);
    if (!source || !destDate)
        return TFileCompareResult::fcError;
    return ByOrder(*source > *destDate ? 1 : *source < *destDate ? -1 : 0);
}

// The decision of every rule; the source's version and date are asked for
// only when the rule needs them.
TFileCompareResult Decide(TOverwriteType rule, const std::string& dest,
                          const std::function<std::string()>& sourceVersion,
                          const std::function<std::optional<double>()>& sourceDate) {
    switch (rule) {
    case TOverwriteType::owAlways:
        return TFileCompareResult::fcReplace;
    case TOverwriteType::owNever:
        return !Trim(dest).empty() && GetPlatform().Files->FileExists(dest) ? TFileCompareResult::fcKeep
                                                                            : TFileCompareResult::fcReplace;
    case TOverwriteType::owDate:
        return ByDate(sourceDate(), dest);
    case TOverwriteType::owVersion:
    case TOverwriteType::owVersionDate: {
        const std::string version = sourceVersion();
        const int order = TVersionResource::CompareVersions(version, FileVersionOf(dest));
        if (order == 0 && rule == TOverwriteType::owVersionDate)
            return ByDate(sourceDate(), dest);
        return ByOrder(order);
    }
    }
    return TFileCompareResult::fcError;
}

// The program-wide reader, a part of the program state.
struct TSharedVersionResource {
    TOwned<TVersionResource> Reader{new TVersionResource(nullptr)};
};

} // namespace

namespace version {

uint16_t LanguageId(TLanguage language) { return kLanguageIds[static_cast<size_t>(language)]; }
uint16_t CodePage(TCharacterSet characterSet) { return kCodePages[static_cast<size_t>(characterSet)]; }

const TEnumInfo& LanguageNames() {
    static const TEnumInfo names{{"lnArabic",
                                  "lnBulgarian",
                                  "lnCatalan",
                                  "lnTraditionalChinese",
                                  "lnCzech",
                                  "lnDanish",
                                  "lnGerman",
                                  "lnGreek",
                                  "lnUSEnglish",
                                  "lnCastilianSpanish",
                                  "lnFinnish",
                                  "lnFrench",
                                  "lnHebrew",
                                  "lnHungarian",
                                  "lnIcelandic",
                                  "lnItalian",
                                  "lnJapanese",
                                  "lnKorean",
                                  "lnDutch",
                                  "lnNorwegianBokmal",
                                  "lnPolish",
                                  "lnBrazilianPortuguese",
                                  "lnRhaetoRomanic",
                                  "lnRomanian",
                                  "lnRussian",
                                  "lnCroatoSerbian",
                                  "lnSlovak",
                                  "lnAlbanian",
                                  "lnSwedish",
                                  "lnThai",
                                  "lnTurkish",
                                  "lnUrdu",
                                  "lnBahasa",
                                  "lnSimplifiedChinese",
                                  "lnSwissGerman",
                                  "lnUKEnglish",
                                  "lnMexicanSpanish",
                                  "lnBelgianFrench",
                                  "lnSwissItalian",
                                  "lnBelgianDutch",
                                  "lnNorwegianNynorsk",
                                  "lnPortuguese",
                                  "lnSerboCroatian",
                                  "lnCanadianFrench",
                                  "lnSwissFrench"}};
    return names;
}

const TEnumInfo& CharacterSetNames() {
    static const TEnumInfo names{{"csASCII", "csJapan", "csKorea", "csTaiwan", "csUnicode", "csLatin2", "csCyrillic",
                                  "csMultilingual", "csGreek", "csTurkish", "csHebrew", "csArabic"}};
    return names;
}

} // namespace version

using version::TCharacterSet;
using version::TLanguage;

#define SW_VERSION_TEXT(Field)                                                                                         \
    prop::WithStored(prop::String(#Field, &Self::Field), [](const TPersistent&) { return false; })

SW_CLASS_INFO(TVersionInfo, TPersistent, SW_VERSION_TEXT(Comment), SW_VERSION_TEXT(CompanyName),
              SW_VERSION_TEXT(FileDescription), SW_VERSION_TEXT(FileVersion), SW_VERSION_TEXT(InternalName),
              SW_VERSION_TEXT(LegalCopyright), SW_VERSION_TEXT(LegalTradeMarks), SW_VERSION_TEXT(OriginalFileName),
              SW_VERSION_TEXT(PrivateBuild), SW_VERSION_TEXT(ProductName), SW_VERSION_TEXT(ProductVersion),
              SW_VERSION_TEXT(SpecialBuild), SW_VERSION_TEXT(FileOS), SW_VERSION_TEXT(FileType),
              SW_VERSION_TEXT(FileSubType))

#undef SW_VERSION_TEXT

SW_CLASS_INFO(TVersionResource, TComponent,
              prop::WithStored(prop::String("FileName", &Self::FileName, &Self::SetFileName),
                               [](const TPersistent& p) {
                                   return static_cast<const TVersionResource&>(p).FileName() != RunningProgram();
                               }),
              prop::Enumeration("Language", &Self::Language, &Self::SetLanguage, version::LanguageNames(),
                                std::optional(TLanguage::lnUSEnglish)),
              prop::Enumeration("CharacterSet", &Self::CharacterSet, &Self::SetCharacterSet,
                                version::CharacterSetNames(), std::optional(TCharacterSet::csMultilingual)),
              prop::Object("VersionInfo", &Self::VersionInfo))

void TVersionInfo::Clear() {
    for (std::string* text : {&Comment, &CompanyName, &FileDescription, &FileVersion, &InternalName, &LegalCopyright,
                              &LegalTradeMarks, &OriginalFileName, &PrivateBuild, &ProductName, &ProductVersion,
                              &SpecialBuild, &FileOS, &FileType, &FileSubType})
        text->clear();
}

TVersionResource::TVersionResource(TComponent* owner)
    : TComponent(owner), fileName_(RunningProgram()), info_(new TVersionInfo) {
    Read();
}

TVersionResource::~TVersionResource() { delete info_; }

void TVersionResource::SetFileName(const std::string& name) {
    fileName_ = name;
    Read();
}

void TVersionResource::SetLanguage(TLanguage language) {
    language_ = language;
    Read();
}

void TVersionResource::SetCharacterSet(TCharacterSet characterSet) {
    characterSet_ = characterSet;
    Read();
}

std::string TVersionResource::StringTablePath() const {
    return "\\StringFileInfo\\" + UpperHex(version::LanguageId(language_), 4) +
           UpperHex(version::CodePage(characterSet_), 4) + "\\";
}

void TVersionResource::Read() {
    info_->Clear();
    IVersionResources* versions = GetPlatform().Versions.get();
    if (!versions || fileName_.empty())
        return;
    const std::optional<std::string> block = versions->GetFileVersionInfo(fileName_);
    if (!block || block->empty())
        return;
    const std::optional<TFixedFileInfo> fixed = QueryFixedFileInfo(*block);
    if (!fixed)
        return;
    info_->FileVersion = DottedVersion(fixed->FileVersionMS, fixed->FileVersionLS);
    info_->ProductVersion = DottedVersion(fixed->ProductVersionMS, fixed->ProductVersionLS);
    info_->FileOS = FileOSText(fixed->FileOS);
    info_->FileType = FileTypeText(fixed->FileType);
    info_->FileSubType = FileSubTypeText(fixed->FileType, fixed->FileSubtype);

    const std::string path = StringTablePath();
    const std::pair<const char*, std::string TVersionInfo::*> strings[] = {
        {"Comments", &TVersionInfo::Comment},
        {"CompanyName", &TVersionInfo::CompanyName},
        {"FileDescription", &TVersionInfo::FileDescription},
        {"InternalName", &TVersionInfo::InternalName},
        {"LegalCopyright", &TVersionInfo::LegalCopyright},
        {"LegalTradeMarks", &TVersionInfo::LegalTradeMarks},
        {"OriginalFileName", &TVersionInfo::OriginalFileName},
        {"PrivateBuild", &TVersionInfo::PrivateBuild},
        {"ProductName", &TVersionInfo::ProductName},
        {"ProductVersion", &TVersionInfo::ProductVersion},
        {"SpecialBuild", &TVersionInfo::SpecialBuild},
    };
    for (const auto& [name, field] : strings)
        if (std::optional<std::string> text = QueryStringValue(*block, path + name))
            info_->*field = *text;
}

int TVersionResource::CompareVersions(const std::string& a, const std::string& b) {
    for (int k = 0;; ++k) {
        const std::string_view pa = Piece(a, k), pb = Piece(b, k);
        if (pa.empty() || pb.empty())
            return pa.empty() == pb.empty() ? 0 : pa.empty() ? -1 : 1;
        const std::optional<int32_t> na = PieceNumber(pa), nb = PieceNumber(pb);
        if (na && nb) {
            if (*na != *nb)
                return *na > *nb ? 1 : -1;
        } else if (const int order = pa.compare(pb); order != 0) {
            return order > 0 ? 1 : -1;
        }
    }
}

TFileCompareResult TVersionResource::IsFileNewerByName(const std::string& source, const std::string& dest,
                                                       TOverwriteType rule) {
    return Decide(
        rule, dest, [&] { return FileVersionOf(source); }, [&] { return FileDayCount(source); });
}

TFileCompareResult TVersionResource::IsFileNewerByVersion(const std::string& sourceVersion, const std::string& dest,
                                                          TOverwriteType rule, double sourceDate) {
    return Decide(
        rule, dest, [&] { return sourceVersion; }, [&] { return std::optional<double>(sourceDate); });
}

TVersionResource& SharedVersionResource() { return *ProgramPart<TSharedVersionResource>().Reader; }

} // namespace sw
