// Image lists: their images from bitmaps and resources, their stream form, and
// the list views that show them.
#include "ControlsFixture.h"
#include "controls/ComCtrls.h"
#include "controls/ImgList.h"
#include "platform/BmpFile.h"
#include "platform/fake/FakeControl.h"
#include "support/SourceFiles.h"

namespace sw::test {
namespace {

// A picture `width` x `height`, olive except a black square at the top left.
TBitmap& Picture(TBitmap& bitmap, int width, int height) {
    TPixels pixels(width, height, 0x808000);
    pixels.FillRect(0, 0, 4, 4, 0);
    bitmap.LoadFromFileBytes(pixels.ToBmp());
    return bitmap;
}

struct ImageListTest : ControlsTest {
    TForm* ReadDrivePage() { return ReadForm(ReadSourceFile("tests/fixtures/forms/drive-space-and-languages.txt")); }
};

TEST_F(ImageListTest, BitmapsGiveAsManyImagesAsFitAcrossThem) {
    TImageList list(nullptr);
    TBitmap bitmap;
    EXPECT_EQ(list.Add(Picture(bitmap, 16, 16)), 0);
    EXPECT_EQ(list.AddMasked(Picture(bitmap, 40, 16), clOlive), 1) << "two whole images; the rest is left out";
    EXPECT_EQ(list.Count(), 3);
    ImageListSpec spec = list.Spec();
    ASSERT_EQ(spec.Strips.size(), 2u);
    EXPECT_EQ(spec.Strips[0].Mask, std::nullopt);
    EXPECT_EQ(spec.Strips[1].Mask, std::optional<ColorRef>(0x008080));
    list.SetMasked(false);
    EXPECT_EQ(list.Spec().Strips[1].Mask, std::nullopt) << "an unmasked list draws every pixel";

    try {
        list.Add(Picture(bitmap, 16, 8));
        FAIL() << "a bitmap lower than an image was taken";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Invalid image size");
    }
    EXPECT_THROW(list.Add(TBitmap()), EInvalidOperation);
    EXPECT_EQ(list.Count(), 3);
    list.SetWidth(32);
    EXPECT_EQ(list.Count(), 0) << "a new size removes every image";
    EXPECT_THROW(list.SetHeight(0), EReadError);
}

TEST_F(ImageListTest, ImagesComeFromTheProgramsBitmapResources) {
    std::string bmp = TPixels(32, 16, 0x808000).ToBmp();
    fake.Resources().Add(ResourceType::Bitmap, "DRIVES", std::vector<uint8_t>(bmp.begin() + 14, bmp.end()));
    TBitmap bitmap;
    bitmap.LoadFromResourceName("DRIVES");
    TImageList list(nullptr);
    list.AddMasked(bitmap, clOlive);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Spec().Strips[0].Bmp, bmp);
}

TEST_F(ImageListTest, TheStreamNamesTheListAndItsImagesReadBackWhole) {
    TForm* form = ReadDrivePage();
    auto* list = static_cast<TImageList*>(form->FindComponent("ilDriveSpace"));
    auto* drives = static_cast<TListView*>(form->FindComponent("Drives"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Width(), 16);
    EXPECT_EQ(list->Spec().Strips.at(0).Mask, std::optional<ColorRef>(0x008080));
    EXPECT_EQ(drives->SmallImages(), list);
    EXPECT_EQ(drives->StateImages(), list);
    EXPECT_FALSE(drives->ColumnClick);

    std::string stream = WriteComponentStream(*form);
    TOwned<TComponent> again(ReadComponentStream(stream, nullptr));
    EXPECT_EQ(WriteComponentStream(*again), stream);
    EXPECT_EQ(static_cast<TImageList*>(again->FindComponent("ilDriveSpace"))->Spec(), list->Spec());
}

TEST_F(ImageListTest, ACorruptImageStreamIsRefusedWithTheStreamsError) {
    std::string text = ReadSourceFile("tests/fixtures/forms/drive-space-and-languages.txt");
    std::string count = "01000000808000007601"; // one bitmap, olive, 374 bytes
    ASSERT_NE(text.find(count), std::string::npos);
    std::string longer = text;
    longer.replace(longer.find(count), count.size(), "01000000808000007701"); // one byte more than there is
    EXPECT_EQ(ReadError(longer), "Error reading ilDriveSpace.Bitmap: Invalid property value");
    std::string two = text;
    two.replace(two.find(count), count.size(), "02000000808000007601"); // a second bitmap that is missing
    EXPECT_EQ(ReadError(two), "Error reading ilDriveSpace.Bitmap: Invalid property value");
    std::string narrow = text;
    narrow.replace(narrow.find("    Bitmap = {"), 0, "    Width = 48\n");
    EXPECT_EQ(ReadError(narrow), "Error reading ilDriveSpace.Bitmap: Invalid property value")
        << "a bitmap narrower than one image";
    TImageList list(nullptr);
    TBitmap bitmap;
    list.Add(Picture(bitmap, 16, 16));
    EXPECT_THROW(list.SetData(std::string("\1\0\0", 3)), EReadError);
    EXPECT_EQ(list.Count(), 1) << "a refused stream leaves the images";
}

TEST_F(ImageListTest, TheListViewsWindowShowsTheImagesAndFollowsTheirChanges) {
    TForm* form = ReadDrivePage();
    auto* list = static_cast<TImageList*>(form->FindComponent("ilDriveSpace"));
    auto* drives = static_cast<TListView*>(form->FindComponent("Drives"));
    drives->AddItem({"C", {"1,024 Bytes", "2,048 Bytes"}, 0, -1, nullptr});
    form->Show();
    drives->AddItem({"D", {"4,096 Bytes", "-1 Bytes"}, 0, 1, nullptr});
    IControl& window = Window("Drives");
    EXPECT_EQ(window.GetImageList(ImageListRole::Small), (ImageListInfo{2, 16, 16}));
    EXPECT_EQ(window.GetImageList(ImageListRole::State), (ImageListInfo{2, 16, 16}));
    EXPECT_EQ(window.GetItemImages(), (std::vector<ItemImages>{{0, -1}, {0, 1}}));

    TBitmap bitmap;
    list->AddMasked(Picture(bitmap, 16, 16), clOlive);
    EXPECT_EQ(window.GetImageList(ImageListRole::Small).Count, 3);
    drives->SetSmallImages(nullptr);
    EXPECT_EQ(window.GetImageList(ImageListRole::Small), ImageListInfo{});
    list->Clear();
    EXPECT_EQ(window.GetImageList(ImageListRole::State), ImageListInfo{}) << "still told of changes as state list";
    TComponent::Free(list);
    EXPECT_EQ(drives->StateImages(), nullptr);
}

} // namespace
} // namespace sw::test
