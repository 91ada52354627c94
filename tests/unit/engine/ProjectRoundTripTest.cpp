// Projects written by the component writer read back to the same project.
#include "support/EngineFixture.h"

#include "objects/FileContainer.h"
#include "objects/InstallRegistry.h"
#include "paths/StandardSpecifiers.h"
#include "project/Reader.h"
#include "project/Writer.h"

#include <map>

namespace sw::test {
namespace {

// Every string property of `o` and the objects it holds, by path.
void CollectStrings(const TPersistent& o, const std::string& prefix, std::map<std::string, std::string>& out) {
    for (const TPropInfo& p : o.ClassInfo().Properties)
        if (p.Kind == TPropKind::String)
            out[prefix + p.Name] = p.GetString(o);
        else if (p.Kind == TPropKind::Object && p.GetObject(o))
            CollectStrings(*p.GetObject(o), prefix + p.Name + ".", out);
}

std::map<std::string, std::string> StringsOf(const TComponent& root) {
    std::map<std::string, std::string> strings;
    CollectStrings(root, root.Name() + ".", strings);
    for (int i = 0; i < root.ComponentCount(); ++i)
        CollectStrings(*root.Components(i), root.Components(i)->Name() + ".", strings);
    return strings;
}

// Sets every string property of `o` and the objects it holds to "".
void EmptyStrings(TPersistent& o) {
    for (const TPropInfo& p : o.ClassInfo().Properties)
        if (p.Kind == TPropKind::String)
            p.SetString(o, "");
        else if (p.Kind == TPropKind::Object && p.GetObject(o))
            EmptyStrings(*p.GetObject(o));
}

class ProjectRoundTripTest : public EngineFixture {
  protected:
    // Frees the roots so far (one driver at a time), reads `bytes` into a new
    // root, writes it again and returns that stream.
    std::string Rewrite(const std::string& bytes) {
        FreeRoots();
        TComponent* copy = roots_.Adopt(ReadComponentStream(bytes, nullptr));
        return WriteComponentStream(*copy);
    }
    std::vector<std::string> Names(const TComponent* root) {
        std::vector<std::string> names;
        for (int i = 0; i < root->ComponentCount(); ++i)
            names.push_back(root->Components(i)->Name());
        return names;
    }
};

// The driver is placed first, so it makes the standard specifiers after itself.
TEST_F(ProjectRoundTripTest, AProjectHoldingEveryEngineClassReadsBackByteForByte) {
    TTestForm* form = NewForm();
    form->SetName("Form1");
    auto* install = new TInstall(form);
    install->SetName("Install1");
    install->RunAutomatic = false;
    auto* group = new TInstallFileGroup(form);
    group->SetName("Group1");
    group->SetContainer(install);
    auto* custom = new TPathSpecifier(form);
    custom->SetName("Custom1");
    group->SetDestDirType(custom);
    ASSERT_EQ(form->ComponentCount(), 17) << "driver, 14 standard specifiers, group, custom specifier";
    ASSERT_EQ(form->Components(1)->Name(), "psBDEDLL");

    std::string first = WriteComponentStream(*form);
    std::string second = Rewrite(first);
    EXPECT_EQ(second, first);
    EXPECT_EQ(Rewrite(second), second);
}

// Only the values a property table declares as its default are left out:
// DestDir, GroupName, Information.ProductName, a registry object's Key and the others whose
// constructor value is not empty come back empty.
TEST_F(ProjectRoundTripTest, EmptyStringsReadBackEmpty) {
    TTestForm* form = NewForm();
    form->SetName("Form1");
    auto* install = new TInstall(form);
    install->SetName("Install1");
    auto* group = new TInstallFileGroup(form);
    group->SetName("Group1");
    auto* custom = new TPathSpecifier(form);
    custom->SetName("Custom1");
    auto* registry = new TInstallRegistry(form);
    registry->SetName("Registry1");
    EmptyStrings(*form);
    for (int i = 0; i < form->ComponentCount(); ++i)
        EmptyStrings(*form->Components(i));
    std::map<std::string, std::string> written = StringsOf(*form);
    ASSERT_EQ(written.count("Install1.Information.ProductName"), 1u);
    ASSERT_EQ(written.count("Custom1.Description"), 1u);

    std::string bytes = WriteComponentStream(*form);
    FreeRoots();
    TComponent* copy = roots_.Adopt(ReadComponentStream(bytes, nullptr));
    EXPECT_EQ(StringsOf(*copy), written);
    EXPECT_EQ(static_cast<TInstall*>(copy->FindComponent("Install1"))->DestDir(), "");
    EXPECT_EQ(static_cast<TInstallRegistry*>(copy->FindComponent("Registry1"))->Key(), "");
}

TEST_F(ProjectRoundTripTest, ASpecifierListedAfterTheDriverIsTheOneTheDriverMade) {
    SetArguments("");
    TComponent* form = Load(R"(object Form1: TTestForm
  object Install1: TInstall
    RunAutomatic = False
    DestDirType = psSystem
  end
  object psSystem: TpsSystem
    Tag = 7
  end
  object MySystem: TpsSystem
  end
end
)");
    auto* system = static_cast<TpsSystem*>(form->FindComponent("psSystem"));
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->Tag, 7);
    EXPECT_FALSE(system->IsLoading());
    EXPECT_EQ(static_cast<TInstall*>(form->FindComponent("Install1"))->DestDirType(), system);
    EXPECT_EQ(StandardPathSpecifiers().Count(), 15) << "the 14 the driver made and MySystem";
    std::vector<std::string> names = Names(form);
    EXPECT_EQ(names.size(), 16u);
    EXPECT_EQ(names.back(), "MySystem");
    std::string bytes = WriteComponentStream(*form);
    EXPECT_EQ(Rewrite(bytes), bytes);
}

TEST_F(ProjectRoundTripTest, AComponentOfAnotherClassStillCannotTakeAStandardName) {
    EXPECT_EQ(LoadError<EReadError>(R"(object Form1: TTestForm
  object Install1: TInstall
    RunAutomatic = False
  end
  object psSystem: TPathSpecifier
  end
end
)"),
              "Error reading psSystem: A component named psSystem already exists");
    EXPECT_EQ(LoadError<EReadError>(R"(object Form1: TTestForm
  object psSystem: TpsSystem
  end
  object psSystem: TpsSystem
  end
end
)"),
              "Error reading psSystem: A component named psSystem already exists");
}

} // namespace
} // namespace sw::test
