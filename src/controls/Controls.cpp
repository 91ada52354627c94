#include "controls/Controls.h"

#include "controls/Boxes.h"
#include "controls/ComCtrls.h"
#include "controls/Edits.h"
#include "controls/ExtCtrls.h"
#include "controls/Forms.h"
#include "controls/GraphicControls.h"
#include "controls/Grids.h"
#include "controls/ImgList.h"
#include "controls/Lists.h"
#include "controls/StdCtrls.h"
#include "project/ClassRegistry.h"

namespace sw {

void RegisterControlClasses() {
    RegisterClass<TForm>();
    RegisterClass<TDataModule>();
    RegisterClass<TLabel>();
    RegisterClass<TButton>();
    RegisterClass<TBitBtn>();
    RegisterClass<TEdit>();
    RegisterClass<TMemo>();
    RegisterClass<TRichEdit>();
    RegisterClass<TCheckBox>();
    RegisterClass<TRadioButton>();
    RegisterClass<TGroupBox>();
    RegisterClass<TRadioGroup>();
    RegisterClass<TListBox>();
    RegisterClass<TComboBox>();
    RegisterClass<TPanel>();
    RegisterClass<TBevel>();
    RegisterClass<TImage>();
    RegisterClass<TProgressBar>();
    RegisterClass<TTabControl>();
    RegisterClass<TTreeView>();
    RegisterClass<TListView>();
    RegisterClass<TStringGrid>();
    RegisterClass<TImageList>();
    RegisterClass<TPaintBox>();
}

} // namespace sw
