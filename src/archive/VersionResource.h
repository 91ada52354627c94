// The version resource of an executable file read into texts, and the
// replace decision between an existing file and a newer one.
#pragma once

#include "platform/FileStamp.h"
#include "project/Component.h"
#include "system/ArchiveTypes.h"

#include <cstdint>
#include <string>

namespace sw {

// The languages a string table can be read in; each selects a Windows
// language identifier (LanguageId).
enum class TLanguage {
    lnArabic,
    lnBulgarian,
    lnCatalan,
    lnTraditionalChinese,
    lnCzech,
    lnDanish,
    lnGerman,
    lnGreek,
    lnUSEnglish,
    lnCastilianSpanish,
    lnFinnish,
    lnFrench,
    lnHebrew,
    lnHungarian,
    lnIcelandic,
    lnItalian,
    lnJapanese,
    lnKorean,
    lnDutch,
    lnNorwegianBokmal,
    lnPolish,
    lnBrazilianPortuguese,
    lnRhaetoRomanic,
    lnRomanian,
    lnRussian,
    lnCroatoSerbian,
    lnSlovak,
    lnAlbanian,
    lnSwedish,
    lnThai,
    lnTurkish,
    lnUrdu,
    lnBahasa,
    lnSimplifiedChinese,
    lnSwissGerman,
    lnUKEnglish,
    lnMexicanSpanish,
    lnBelgianFrench,
    lnSwissItalian,
    lnBelgianDutch,
    lnNorwegianNynorsk,
    lnPortuguese,
    lnSerboCroatian,
    lnCanadianFrench,
    lnSwissFrench
};

// The code pages a string table can be read in (CodePage).
enum class TCharacterSet {
    csASCII,
    csJapan,
    csKorea,
    csTaiwan,
    csUnicode,
    csLatin2,
    csCyrillic,
    csMultilingual,
    csGreek,
    csTurkish,
    csHebrew,
    csArabic
};

uint16_t LanguageId(TLanguage language);
uint16_t CodePage(TCharacterSet characterSet);
const TEnumInfo& LanguageNames();
const TEnumInfo& CharacterSetNames();

enum class TFileCompareResult { fcError, fcSame, fcReplace, fcKeep };

// The texts of one version resource; never stored in a project stream.
class TVersionInfo : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    std::string Comment, CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright, LegalTradeMarks,
        OriginalFileName, PrivateBuild, ProductName, ProductVersion, SpecialBuild, FileOS, FileType, FileSubType;

    void Clear();
};

class TVersionResource : public TComponent {
    SW_DECLARE_CLASS()
  public:
    // Reads the running program's resource at once.
    explicit TVersionResource(TComponent* owner);
    ~TVersionResource() override;

    // Each setter reads the resource again.
    std::string FileName() const { return fileName_; }
    void SetFileName(const std::string& name);
    TLanguage Language() const { return language_; }
    void SetLanguage(TLanguage language);
    TCharacterSet CharacterSet() const { return characterSet_; }
    void SetCharacterSet(TCharacterSet characterSet);
    TVersionInfo* VersionInfo() const { return info_; }

    // "\StringFileInfo\" + language and code page in hex + "\".
    std::string StringTablePath() const;

    // Compared piece by piece between the dots: > 0 when a is newer, < 0 when
    // b is newer, 0 when they are equal.
    static int CompareVersions(const std::string& a, const std::string& b);
    // Copying file source over file dest.
    static TFileCompareResult IsFileNewerByName(const std::string& source, const std::string& dest,
                                                TOverwriteType rule);
    // Extracting an entry of known version and date over file dest.
    static TFileCompareResult IsFileNewerByVersion(const std::string& sourceVersion, const std::string& dest,
                                                   TOverwriteType rule, double sourceDate);

  private:
    void Read();

    std::string fileName_;
    TLanguage language_ = TLanguage::lnUSEnglish;
    TCharacterSet characterSet_ = TCharacterSet::csMultilingual;
    TVersionInfo* info_;
};

// The one instance the program shares: a part of the program state, created
// on first use.
TVersionResource& SharedVersionResource();

} // namespace sw
