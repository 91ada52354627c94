// The install object tree: ordering of children, install types, containers,
// destinations and the downward broadcasts.
#include "TestObjects.h"
#include "support/EngineFixture.h"
#include "support/ErrorOf.h"

#include "objects/InstallLists.h"
#include "objects/InstallParameters.h"
#include "paths/StandardSpecifiers.h"
#include "project/ClassRegistry.h"
#include "project/TranslateHook.h"
#include "system/InstallErrors.h"

namespace sw::test {

#define SW_TEST_OBJECT_INFO(Class)                                                                                     \
    SW_CLASS_INFO(Class, TInstallObject, prop::Reference("Container", &Self::Container, &Self::SetContainer),          \
                  prop::Integer("Order", &Self::Order, &Self::SetOrder, -1))
SW_TEST_OBJECT_INFO(TTestFile)
SW_TEST_OBJECT_INFO(TTestShortcut)
SW_TEST_OBJECT_INFO(TInstallBDE)
#undef SW_TEST_OBJECT_INFO
SW_CLASS_INFO(TTestDialog, TInstallObject)

namespace {

class ObjectModelTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        RegisterClass<TTestFile>();
        RegisterClass<TTestShortcut>();
        RegisterClass<TInstallBDE>();
        form_ = LoadForm(kBasicForm);
        install_ = static_cast<TInstall*>(form_->FindComponent("Install1"));
    }
    // A new object with an Order as a stream gives it (outside loading an
    // object without a container ignores a new Order).
    template <class T> T* Make(const char* name, int32_t order) {
        auto* object = new T(form_);
        object->SetName(name);
        object->BeginReading();
        object->SetOrder(order);
        object->EndReading();
        object->Loaded();
        return object;
    }
    std::string Children(TInstallContainer& container) {
        std::string list;
        for (int i = 0; i < container.ObjectCount(); ++i)
            list += (i ? " " : "") + container.Objects(i)->Name() + ":" + std::to_string(container.Objects(i)->Order());
        return list;
    }
    TTestForm* form_ = nullptr;
    TInstall* install_ = nullptr;
};

TEST_F(ObjectModelTest, StreamOrderGivesWayToKindAndOrder) {
    FreeRoots();
    const char* text = R"(object Form1: TTestForm
  object Install1: TInstall
    RunAutomatic = False
  end
  object Link0: TTestShortcut
    Container = Install1
    Order = 0
  end
  object File2: TTestFile
    Container = Install1
    Order = 2
  end
  object File0: TTestFile
    Container = Install1
    Order = 0
  end
  object Group7: TInstallFileGroup
    Container = Install1
    Order = 7
  end
  object File1: TTestFile
    Container = Install1
    Order = 1
  end
end
)";
    TComponent* form = Load(text);
    auto& install = *static_cast<TInstall*>(form->FindComponent("Install1"));
    // Loading inserts without renumbering.
    EXPECT_EQ(Children(install), "Group7:7 File0:0 File1:1 File2:2 Link0:0");
}

TEST_F(ObjectModelTest, AddingPlacesByOrderAndRenumbers) {
    for (const char* name : {"A", "B", "C"})
        Make<TTestFile>(name, -1)->SetContainer(install_);
    EXPECT_EQ(Children(*install_), "A:0 B:1 C:2");
    Make<TTestFile>("Last", -1)->SetContainer(install_);
    EXPECT_EQ(Children(*install_), "A:0 B:1 C:2 Last:3");
    Make<TTestFile>("AtOne", 1)->SetContainer(install_);
    EXPECT_EQ(Children(*install_), "A:0 AtOne:1 B:2 C:3 Last:4");
    Make<TTestShortcut>("Link", 0)->SetContainer(install_);
    Make<TTestFile>("Big", 99)->SetContainer(install_);
    EXPECT_EQ(Children(*install_), "A:0 AtOne:1 B:2 C:3 Last:4 Big:5 Link:0");
    Make<TInstallBDE>("Bde", 3)->SetContainer(install_);
    EXPECT_EQ(Children(*install_), "Bde:0 A:1 AtOne:2 B:3 C:4 Last:5 Big:6 Link:0");
}

TEST_F(ObjectModelTest, ChangingOrderMovesTheObject) {
    for (const char* name : {"A", "B", "C"})
        Make<TTestFile>(name, -1)->SetContainer(install_);
    static_cast<TInstallObject*>(form_->FindComponent("C"))->SetOrder(0);
    EXPECT_EQ(Children(*install_), "C:0 A:1 B:2");
    static_cast<TInstallObject*>(form_->FindComponent("C"))->SetOrder(-1);
    EXPECT_EQ(Children(*install_), "A:0 B:1 C:2");
    auto* loose = Make<TTestFile>("Loose", 4);
    loose->SetOrder(5);
    EXPECT_EQ(loose->Order(), 4);
}

TEST_F(ObjectModelTest, RemovingRenumbers) {
    for (const char* name : {"A", "B", "C"})
        Make<TTestFile>(name, -1)->SetContainer(install_);
    static_cast<TInstallObject*>(form_->FindComponent("A"))->SetContainer(nullptr);
    EXPECT_EQ(Children(*install_), "B:0 C:1");
    TComponent::Free(form_->FindComponent("B"));
    EXPECT_EQ(Children(*install_), "C:1");
}

TEST_F(ObjectModelTest, BadInsertionsLeaveTheListUnchanged) {
    auto* group = new TInstallFileGroup(form_);
    group->SetName("Group1");
    group->SetContainer(install_);
    auto* inner = new TInstallFileGroup(form_);
    inner->SetName("Inner");
    inner->SetContainer(group);
    try {
        install_->AddObject(nullptr);
        FAIL();
    } catch (const IEInstallContainer& e) {
        EXPECT_STREQ(e.what(), "Cannot add a blank base helper component to Install1");
    }
    EXPECT_THROW(group->AddObject(group), IEInstallContainer);
    try {
        inner->AddObject(group);
        FAIL();
    } catch (const IEInstallContainer& e) {
        EXPECT_STREQ(e.what(), "Circular reference");
    }
    EXPECT_EQ(Children(*inner), "");
    EXPECT_EQ(group->Container(), install_);
    auto* base = new TInstallObject(form_);
    base->SetName("Base");
    try {
        base->GetObjectKind();
        FAIL();
    } catch (const IEInstallContainer& e) {
        EXPECT_STREQ(e.what(), "Class must declare a registered type");
    }
    EXPECT_THROW(install_->AddObject(base), IEInstallContainer);
    EXPECT_EQ(Children(*install_), "Group1:0");
}

TEST_F(ObjectModelTest, ChildAccessNamesTheContainerAndIndex) {
    Make<TTestFile>("A", -1)->SetContainer(install_);
    Make<TTestShortcut>("L", -1)->SetContainer(install_);
    Make<TTestShortcut>("M", -1)->SetContainer(install_);
    EXPECT_EQ(install_->Objects(1)->Name(), "L");
    for (int bad : {-1, 3}) {
        try {
            install_->Objects(bad);
            FAIL();
        } catch (const IEInstallContainer& e) {
            EXPECT_EQ(std::string(e.what()), "Tried to reference a helper component in the following component: "
                                             "Install1. The following index was used: " +
                                                 std::to_string(bad));
        }
    }
    EXPECT_EQ(install_->ObjectCountOfClass(TTestShortcut::StaticClassInfo()), 2);
    EXPECT_EQ(install_->ObjectOfClass(1, TTestShortcut::StaticClassInfo())->Name(), "M");
    try {
        install_->ObjectOfClass(2, TTestShortcut::StaticClassInfo());
        FAIL();
    } catch (const IEInstallContainer& e) {
        EXPECT_STREQ(e.what(), "Bad call to the Comp procedure which returns a TInstallObject for a TInstallContainer "
                               "component. The parameters are probably reversed. Index: 2, ComponentType: 2");
    }
    install_->FreeObjectsOfClass(TTestShortcut::StaticClassInfo());
    EXPECT_EQ(Children(*install_), "A:0");
    EXPECT_EQ(form_->FindComponent("L"), nullptr);
}

TEST_F(ObjectModelTest, FileContainersAreCountedAmongThemselves) {
    Make<TTestFile>("A", -1)->SetContainer(install_);
    Make<TInstallFileGroup>("G1", -1)->SetContainer(install_);
    Make<TInstallFileGroup>("G2", -1)->SetContainer(install_);
    EXPECT_EQ(install_->GetFileContainerCount(), 2);
    EXPECT_EQ(install_->GetFileContainer(1)->Name(), "G2");
    EXPECT_THROW(install_->GetFileContainer(2), IEInstallContainer);
}

std::string GermanIndexMessage(const std::string& english) {
    if (english == "Tried to reference a helper component in the following component: %s. The following index was "
                   "used: %d")
        return "Hilfskomponente von %s mit dem Index %d angefordert";
    return english;
}

TEST_F(ObjectModelTest, TheFileContainerIndexMessageIsTranslatedBeforeItIsFormatted) {
    Make<TInstallFileGroup>("G1", -1)->SetContainer(install_);
    SetTranslateEnglishHook(&GermanIndexMessage);
    EXPECT_EQ(ErrorOf<IEInstallContainer>([&] { install_->GetFileContainer(1); }),
              "Hilfskomponente von Install1 mit dem Index 1 angefordert");
}

TEST_F(ObjectModelTest, InstallTypesNeverCombineAlways) {
    auto* file = Make<TTestFile>("F", -1);
    const auto bit = [](TInstallType t) { return InstallTypeBit(t); };
    using enum TInstallType;
    file->SetInstallTypes(bit(itAlways) | bit(itFull));
    EXPECT_EQ(file->InstallTypes(), bit(itFull));
    file->SetInstallTypes(bit(itFull) | bit(itAlways));
    EXPECT_EQ(file->InstallTypes(), bit(itAlways));
    file->SetInstallTypes(bit(itFull) | bit(itCompact));
    EXPECT_EQ(file->InstallTypes(), bit(itFull) | bit(itCompact));
    file->SetInstallTypes(0);
    EXPECT_EQ(file->InstallTypes(), bit(itAlways));
}

TEST_F(ObjectModelTest, InclusionFollowsTheCurrentInstallType) {
    using enum TInstallType;
    auto* full = Make<TTestFile>("Full", -1);
    auto* compactFull = Make<TTestFile>("CompactFull", -1);
    auto* always = Make<TTestFile>("Always", -1);
    auto* excluded = Make<TTestFile>("Excluded", -1);
    full->SetInstallTypes(InstallTypeBit(itFull));
    compactFull->SetInstallTypes(InstallTypeBit(itCompact) | InstallTypeBit(itFull));
    excluded->SetInclude(false);
    for (TInstallObject* o : {static_cast<TInstallObject*>(full), static_cast<TInstallObject*>(compactFull),
                              static_cast<TInstallObject*>(always), static_cast<TInstallObject*>(excluded)})
        o->SetContainer(install_);
    install_->SetCurrentInstallType(itCompact);
    EXPECT_EQ(full->CurrentInstallType(), itCompact);
    EXPECT_FALSE(full->IsIncluded());
    EXPECT_TRUE(compactFull->IsIncluded());
    EXPECT_TRUE(always->IsIncluded());
    EXPECT_FALSE(excluded->IsIncluded());
    install_->SetCurrentInstallType(itCustom);
    EXPECT_TRUE(full->IsIncluded());
    EXPECT_FALSE(excluded->IsIncluded());
}

TEST_F(ObjectModelTest, ContainerDecidesTheDestinationAndArchive) {
    auto* group = Make<TInstallFileGroup>("Group1", -1);
    auto* custom = new TPathSpecifier(form_);
    group->SetDestDirType(custom);
    group->SetDestDir("\\Tools");
    group->SetArchiveFileType(custom);
    group->SetArchiveFile("\\group.1");
    group->SetContainer(install_);
    EXPECT_EQ(group->DestDirType(), form_->FindComponent("psContainerDestDir"));
    EXPECT_EQ(group->DestDir(), "");
    EXPECT_EQ(group->ArchiveFileType(), form_->FindComponent("psContainerArchiveFile"));
    EXPECT_EQ(group->ArchiveFile(), "");
    // A file archive under the container's archive takes no name of its own.
    group->SetArchiveFile("\\ignored.1");
    EXPECT_EQ(group->ArchiveFile(), "");
    // Setting the same container again changes nothing the project set since.
    group->SetDestDirType(custom);
    group->SetArchiveFileType(custom);
    group->SetArchiveFile("\\group.1");
    group->SetContainer(install_);
    EXPECT_EQ(group->DestDirType(), custom);
    EXPECT_EQ(group->ArchiveFileType(), custom);
    EXPECT_EQ(group->ArchiveFile(), "\\group.1");
    group->SetContainer(nullptr);
    EXPECT_EQ(group->DestDirType(), custom) << "only a container specifier is cleared";
    EXPECT_EQ(group->Container(), nullptr);
    EXPECT_TRUE(group->ContainerAssigned());
    group->SetContainer(install_);
    group->SetContainer(nullptr);
    EXPECT_EQ(group->DestDirType(), nullptr);
    EXPECT_EQ(group->ArchiveFileType(), nullptr);
}

TEST_F(ObjectModelTest, DestinationPathsChainThroughContainers) {
    install_->SetDestDirType(StandardPathSpecifiers().FindByClass<TpsWindow>());
    EXPECT_EQ(install_->GetDestPath(), "C:\\WINDOWS\\MyApplication");
    auto* group = Make<TInstallFileGroup>("Group1", -1);
    group->SetContainer(install_);
    group->SetDestDir("\\Tools\\");
    EXPECT_EQ(group->GetDestPath(), "C:\\WINDOWS\\MyApplication\\Tools");
    // Archives follow the same rule; the driver's is files.1 in the source folder.
    EXPECT_EQ(install_->GetArchivePath(), "C:\\SETUP\\files.1");
    EXPECT_EQ(group->GetArchivePath(), "C:\\SETUP\\files.1");
    // Without a specifier the relative part stands alone.
    TComponent::Free(form_->FindComponent("psWindow"));
    EXPECT_EQ(install_->DestDirType(), nullptr);
    EXPECT_EQ(install_->GetDestPath(), "\\MyApplication");
}

TEST_F(ObjectModelTest, DestroyedContainerLeavesItsChildren) {
    auto* group = Make<TInstallFileGroup>("Group1", -1);
    group->SetContainer(install_);
    auto* file = Make<TTestFile>("F", -1);
    file->SetContainer(group);
    TComponent::Free(group);
    EXPECT_EQ(file->Container(), nullptr);
    EXPECT_EQ(Children(*install_), "");
    EXPECT_EQ(InstallContainers().FindByName("Group1"), nullptr);
    EXPECT_EQ(InstallContainers().FindByName("f"), file);
}

TEST_F(ObjectModelTest, BroadcastsReachOnlyDialogs) {
    auto* dialog = new TTestDialog(form_);
    dialog->SetName("Dialog1");
    auto* group = Make<TInstallFileGroup>("Group1", -1);
    group->SetContainer(install_);
    dialog->SetContainer(install_);
    install_->SendMessageText("Copying files");
    install_->Broadcast(-973, nullptr);
    EXPECT_EQ(dialog->Codes, (std::vector<int>{-974, -973}));
    EXPECT_EQ(dialog->Texts, std::vector<std::string>{"Copying files"});
    EXPECT_EQ(dialog->Senders, (std::vector<TInstallContainer*>{install_, install_}));
}

TEST_F(ObjectModelTest, ProgramWideListsRefuseBlankEntries) {
    try {
        InstallContainers().Add(nullptr);
        FAIL();
    } catch (const IEContainerList& e) {
        EXPECT_STREQ(e.what(), "Cannot add a blank entry to the TInstallContainerList object");
    }
    try {
        InstallFiles().Add(nullptr);
        FAIL();
    } catch (const IECustomInstallFileList& e) {
        EXPECT_STREQ(e.what(), "Cannot add a blank entry to the TCustomInstallFileList object");
    }
    EXPECT_THROW(RetryRegistrationFiles().Add(nullptr), IECustomInstallFileList);
    EXPECT_EQ(InstallContainers().FindByName("INSTALL1"), install_);
}

TEST_F(ObjectModelTest, NewGroupDefaults) {
    auto* group = new TInstallFileGroup(form_);
    EXPECT_EQ(group->GroupName(), "Unnamed File Group");
    EXPECT_TRUE(group->Installable());
    EXPECT_TRUE(group->Include());
    EXPECT_TRUE(group->AllowChoice());
    EXPECT_TRUE(group->AllowChangeDir());
    EXPECT_TRUE(group->Net());
    EXPECT_EQ(group->Order(), -1);
    EXPECT_EQ(group->AddToArchive(), TlzhCommand::lzcOverwrite);
    EXPECT_EQ(group->GetObjectKind(), 1000);
}

} // namespace
} // namespace sw::test
