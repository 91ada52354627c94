#include "dialogs/FileGroupSelectForm.h"

#include "controls/Edits.h"
#include "controls/ExtCtrls.h"
#include "controls/ImgList.h"
#include "dialogs/OpenFolderDialog.h"
#include "lang/Translator.h"
#include "objects/FileContainer.h"
#include "platform/BmpFile.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "project/Text.h"
#include "system/InstallDriverContext.h"
#include "system/InstallErrors.h"
#include "system/SystemHelpers.h"

#include <vector>

namespace sw {

namespace {

constexpr const char* kFileGroupSelectResource = "TFILEGROUPSELECTFORM";
constexpr int kDividerWidth = 3;
constexpr int kScrollBarHeight = 17;

// The images of the drive list: a drive at 0, a red cross at 1, 16 pixels
// square over a magenta mask.
std::string DriveSpaceImages() {
    constexpr int w = 32, h = 16, stride = (w * 3 + 3) / 4 * 4;
    std::string rows(static_cast<size_t>(stride * h), '\0');
    auto put = [&](int x, int y, uint32_t rgb) {
        size_t at = static_cast<size_t>((h - 1 - y) * stride + x * 3);
        rows[at] = static_cast<char>(rgb & 0xFF);
        rows[at + 1] = static_cast<char>((rgb >> 8) & 0xFF);
        rows[at + 2] = static_cast<char>((rgb >> 16) & 0xFF);
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            put(x, y, 0xFF00FF);
    for (int y = 5; y <= 11; ++y)
        for (int x = 1; x <= 14; ++x) {
            bool edge = y == 5 || y == 11 || x == 1 || x == 14;
            put(x, y, edge ? 0x404040 : (y == 6 ? 0xE0E0E0 : 0xB0B0B0));
        }
    for (int x = 11; x <= 12; ++x)
        put(x, 9, 0x00C000);
    for (int i = 2; i <= 13; ++i)
        for (int t = 0; t < 2; ++t) {
            put(16 + i + t, i, 0xE00000);
            put(16 + 15 - i - t, i, 0xE00000);
        }
    return BmpFile(w, h, rows);
}

} // namespace

std::string FormatThousands(int64_t value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return value < 0 ? "-" + out : out;
}

TGroupTreeView::TGroupTreeView(TComponent* owner) : TTreeView(owner) {
    SetBorderStyle(TBorderStyle::bsNone);
    ReadOnly = true;
    HideSelection = false;
}

TDriveSpaceListView::TDriveSpaceListView(TComponent* owner, TImageList* images) : TListView(owner) {
    ReadOnly = true;
    ColumnClick = false;
    ViewStyle = TViewStyle::vsReport;
    SetSmallImages(images);
    SetStateImages(images);
    AddColumn("", 50);
    AddColumn(TranslateEnglish("Space Required:"), 120);
    AddColumn(TranslateEnglish("Space Available:"), 120);
}

SW_CLASS_INFO(TFileGroupSelectForm, TBaseInstallForm)

TFileGroupSelectForm::TFileGroupSelectForm(TComponent* owner) : TBaseInstallForm(owner) {
    ReadPageResource(kFileGroupSelectResource);
    SetStage(TManagerType::dmBeforeInstall, 50);
    if (IInstallDriverContext* driver = InstallDriverContext())
        InstallContainer = dynamic_cast<TInstallContainer*>(driver->DriverComponent());

    pnlInclude_ = PageChild<TPanel>(*this, kFileGroupSelectResource, "pnlInclude");
    pnlSize_ = PageChild<TPanel>(*this, kFileGroupSelectResource, "pnlSize");
    pnlDriveSpace_ = PageChild<TPanel>(*this, kFileGroupSelectResource, "pnlDriveSpace");
    directory_ = PageChild<TEdit>(*this, kFileGroupSelectResource, "DirectoryLabel");
    memo_ = PageChild<TMemo>(*this, kFileGroupSelectResource, "DescriptionMemo");
    descLabel_ = PageChild<TControl>(*this, kFileGroupSelectResource, "GroupDescLabel");
    browseBtn_ = PageChild<TControl>(*this, kFileGroupSelectResource, "BrowseBtn");
    images_ = PageChild<TImageList>(*this, kFileGroupSelectResource, "ilDriveSpace");
    if (images_->Count() == 0) {
        TBitmap strip;
        strip.LoadFromFileBytes(DriveSpaceImages());
        images_->AddMasked(strip, 0xFF00FF);
    }

    tree_ = new TGroupTreeView(this);
    tree_->SetName("GroupTree");
    tree_->SetParent(PageChild<TPanel>(*this, kFileGroupSelectResource, "pnlGroups"));
    tree_->SetAlign(TAlign::alClient);
    tree_->SetTabOrder(0);
    tree_->OnChange = {"", [this](TPersistent*, TTreeNode*) { RefreshDetails(); }};
    tree_->OnExpanded = {"", [this](TPersistent*, TTreeNode*) { RefreshRows(); }};
    tree_->OnCollapsed = {"", [this](TPersistent*, TTreeNode*) { RefreshRows(); }};
    tree_->OnScroll = {"", [this](TPersistent*) { RefreshRows(); }};

    driveList_ = new TDriveSpaceListView(this, images_);
    driveList_->SetName("DriveList");
    driveList_->SetParent(pnlDriveSpace_);
    driveList_->SetAlign(TAlign::alClient);

    directory_->OnChange = {"", [this](TPersistent*) {
                                TTreeNode* node = tree_->Selected();
                                if (updating_ || !node)
                                    return;
                                TFileContainer* group = TGroupTreeView::GroupOf(node);
                                group->SetDestDirType(nullptr);
                                group->SetDestDir(directory_->Text());
                            }};
    browseBtn_->OnClick = {"", [this](TPersistent*) { Browse(); }};
    PageChild<TControl>(*this, kFileGroupSelectResource, "BackBtn")->OnClick = {
        "", [this](TPersistent*) { PreviousPage(); }};
    PageChild<TControl>(*this, kFileGroupSelectResource, "ProceedBtn")->OnClick = {
        "", [this](TPersistent*) { NextPage(); }};
    PageChild<TControl>(*this, kFileGroupSelectResource, "CancelBtn")->OnClick = {
        "", [this](TPersistent*) { CancelStage(); }};
}

bool TFileGroupSelectForm::SkipPage() {
    if (!InstallContainer)
        return true;
    TInstallType type = InstallContainer->CurrentInstallType();
    return type != TInstallType::itAlways && type != TInstallType::itCustom;
}

void TFileGroupSelectForm::UpdatePage() {
    PageChild<TControl>(*this, kFileGroupSelectResource, "BackBtn")->SetVisible(!IsFirstPage());
    FillTree();
    RefreshCheckBoxes();
    RefreshSizeLabels();
    RefreshDriveList();
    RefreshDetails();
    auto* proceed = PageChild<TWinControl>(*this, kFileGroupSelectResource, "ProceedBtn");
    if (proceed->Visible() && proceed->CanFocus())
        proceed->SetFocus();
}

TFileContainer* TFileGroupSelectForm::CheckedContainer(const std::string& componentName) const {
    if (!InstallContainer)
        throw IEFileGroupSelectForm("Cannot show the install file groups dialog for blank container property");
    auto* container = dynamic_cast<TFileContainer*>(InstallContainer);
    if (!container)
        throw IEFileGroupSelectForm("Container is not a TFileContainer for %s", {componentName});
    return container;
}

void TFileGroupSelectForm::FillTree() {
    TFileContainer* driver = CheckedContainer("");
    tree_->Clear();
    TTreeNode* root = tree_->AddChild(nullptr, TranslateEnglish(driver->GroupName()), driver);
    auto addChildren = [this](auto& self, TTreeNode* node, TFileContainer& group) -> void {
        for (int i = 0; i < group.GetFileContainerCount(); ++i)
            if (auto* child = dynamic_cast<TFileContainer*>(group.GetFileContainer(i)))
                self(self, tree_->AddChild(node, TranslateEnglish(child->GroupName()), child), *child);
    };
    addChildren(addChildren, root, *driver);
    root->Expand(false);
    // The tree keeps room for its horizontal scroll bar; the columns match it.
    for (const char* spacer : {"pnlIncludeSpacer", "pnlSizeSpacer"}) {
        auto* panel = PageChild<TControl>(*this, kFileGroupSelectResource, spacer);
        panel->SetHeight(kScrollBarHeight);
        panel->SetVisible(true);
    }
    tree_->SetSelected(root);
}

template <class F> void TFileGroupSelectForm::ForEachShownRow(F&& f) {
    size_t row = 0;
    for (TTreeNode* node : tree_->Nodes()) {
        if (!node->IsVisible())
            continue;
        std::optional<Bounds> rect = node->DisplayRect();
        if (!rect || rect->Top < 0)
            continue;
        if (rect->Top > tree_->Height())
            break;
        f(row++, *node, *rect);
    }
}

void TFileGroupSelectForm::RefreshCheckBoxes() {
    size_t used = 0;
    ForEachShownRow([&](size_t row, TTreeNode& node, const Bounds& rect) {
        TIncludeCheckBox* box = includes_.At(row);
        if (!box) {
            box = new TIncludeCheckBox(this, *this);
            box->SetName("IncludeBox" + std::to_string(row));
            box->SetParent(pnlInclude_);
            box->OnClick = {"", [this, box](TPersistent*) { IncludeClicked(*box); }};
            includes_.Add(box);
        }
        box->SetCaption("");
        box->SetBounds({3, rect.Top, pnlInclude_->Width() - kDividerWidth - 3, rect.Height});
        box->Group = TGroupTreeView::GroupOf(&node);
        box->Suppress = true;
        box->SetChecked(box->Group->IsIncluded());
        box->Suppress = false;
        box->SetEnabled(box->Group->AllowChoice());
        box->SetVisible(true);
        used = row + 1;
    });
    for (size_t i = used; i < includes_.Count(); ++i)
        includes_.At(i)->SetVisible(false);
}

void TFileGroupSelectForm::RefreshSizeLabels() {
    size_t used = 0;
    const std::string bytes = TranslateEnglish("Bytes");
    ForEachShownRow([&](size_t row, TTreeNode& node, const Bounds& rect) {
        TSizeLabel* label = sizes_.At(row);
        if (!label) {
            label = new TSizeLabel(this, *this);
            label->SetName("SizeLabel" + std::to_string(row));
            label->SetAutoSize(false);
            label->SetAlignment(TAlignment::taRightJustify);
            label->SetParent(pnlSize_);
            sizes_.Add(label);
        }
        label->Group = TGroupTreeView::GroupOf(&node);
        label->SetBounds({1, rect.Top, pnlSize_->Width() - kDividerWidth - 3, rect.Height});
        label->SetCaption(FormatThousands(label->Group->GetTotalSize(false)) + " " + bytes);
        label->SetVisible(true);
        used = row + 1;
    });
    for (size_t i = used; i < sizes_.Count(); ++i)
        sizes_.At(i)->SetVisible(false);
}

void TFileGroupSelectForm::RefreshRows() {
    RefreshCheckBoxes();
    RefreshSizeLabels();
}

void TFileGroupSelectForm::RefreshDetails() {
    TTreeNode* node = tree_->Selected();
    if (!node)
        return;
    TFileContainer* group = TGroupTreeView::GroupOf(node);
    updating_ = true;
    try {
        directory_->SetText(group->GetDestPath());
        browseBtn_->SetEnabled(group->AllowChangeDir());
        const std::vector<std::string>& lines = group->Description()->Lines;
        bool described = !lines.empty();
        memo_->SetVisible(described);
        descLabel_->SetVisible(described);
        if (described) {
            TTranslator* translator = GlobalTranslator();
            memo_->SetLines(translator ? translator->TranslateLines(TPlmrLanguage::plEnglish, lines) : lines);
        }
        Application().ProcessMessages();
        tree_->Repaint();
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

void TFileGroupSelectForm::AddDriveUsage(TFileContainer& group) {
    std::string path = UpperCase(group.GetDestPath());
    bool included = group.IsIncluded();
    if (!path.empty() && path[0] != '\\') {
        std::string letter(1, path[0]);
        TDriveSpace* drive = nullptr;
        for (auto& d : drives_)
            if (d.Drive == letter)
                drive = &d;
        if (!drive) {
            std::optional<uint64_t> free = GetPlatform().Files->FreeSpace(letter + ":\\");
            drives_.push_back({letter, 0, free ? static_cast<int64_t>(*free) : -1});
            drive = &drives_.back();
        }
        if (included)
            drive->Required += group.GetFilesSize(false);
    }
    if (included)
        for (int i = 0; i < group.GetFileContainerCount(); ++i)
            if (auto* child = dynamic_cast<TFileContainer*>(group.GetFileContainer(i)))
                AddDriveUsage(*child);
}

void TFileGroupSelectForm::RefreshDriveList() {
    TFileContainer* driver = CheckedContainer("");
    driveList_->Clear();
    drives_.clear();
    AddDriveUsage(*driver);
    const std::string bytes = TranslateEnglish("Bytes");
    for (const auto& d : drives_) {
        TListItem item;
        item.Caption = d.Drive;
        item.SubItems = {FormatThousands(d.Required) + " " + bytes, FormatThousands(d.Free) + " " + bytes};
        item.ImageIndex = 0;
        item.StateIndex = d.Required >= d.Free ? 1 : -1;
        driveList_->AddItem(item);
    }
    int count = static_cast<int>(drives_.size());
    pnlDriveSpace_->SetHeight(count > 2 ? 61 : 18 * count + 25);
}

void TFileGroupSelectForm::IncludeClicked(TIncludeCheckBox& box) {
    if (box.Suppress || !box.Group)
        return;
    box.Group->SetInclude(box.Checked());
    RefreshSizeLabels();
    RefreshDetails();
    RefreshDriveList();
}

void TFileGroupSelectForm::Browse() {
    TTreeNode* node = tree_->Selected();
    if (!node)
        return;
    TFileContainer* group = TGroupTreeView::GroupOf(node);
    IFileSystem& files = *GetPlatform().Files;
    std::string folder = group->GetDestPath();
    // The browser opens at the folder only if it exists: make it for the
    // browser, and afterwards take away every level made for it that is
    // still empty (a folder the user made inside keeps its parents).
    std::vector<std::string> made;
    if (!Trim(folder).empty()) {
        for (std::string level = ExcludeTrailingBackslash(folder);
             !level.empty() && !files.DirectoryExists(level) && ExtractFileDir(level) != level;
             level = ExtractFileDir(level))
            made.push_back(level);
        if (!made.empty() && !files.ForceDirectories(folder))
            made.clear();
    }
    struct RemoveMade {
        IFileSystem& files;
        const std::vector<std::string>& made;
        ~RemoveMade() {
            for (const std::string& level : made)
                if (!files.RemoveDirectory(level))
                    break;
        }
    } removeMade{files, made};
    TOpenFolderDialog dialog;
    dialog.Folder = folder;
    if (dialog.Execute()) {
        group->SetDestDirType(nullptr);
        group->SetDestDir(ExcludeTrailingBackslash(dialog.Folder));
    }
    RefreshDetails();
    RefreshDriveList();
}

} // namespace sw
