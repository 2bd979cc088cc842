// The export options dialog and its observer.
#ifndef KSV_EXPORT_OPTIONS_DIALOG_H
#define KSV_EXPORT_OPTIONS_DIALOG_H

#include "DG.h"
#include "ExportOptions.h"

namespace KSV {

class ExportOptionsDialog : public DG::ModalDialog {
public:
    enum Items : short {
        ExportButton = 1, CancelButton = 2, DefaultsButton = 3, TitleText = 5, Separator1 = 6,
        CamerasIcon = 7, CamerasCheck = 8, LightsIcon = 9, LightsCheck = 10, SunIcon = 11,
        SunCheck = 12, Separator2 = 13, TexturesText = 14, WallIcon = 15, WallCheck = 16,
        RoofIcon = 17, RoofCheck = 18, SlabIcon = 19, SlabCheck = 20, OthersCheck = 21,
        UseReferenceCheck = 22, Separator3 = 23, ReferenceText = 24, ChooseButton = 25,
        ReplaceMaterialsCheck = 26, AddContentCheck = 27, Separator4 = 28, UniqueLayerCheck = 29,
    };

    // Built from dialog resource resId of the active resource module; GetId() is 0 when missing.
    ExportOptionsDialog(GSResID resId, ExportOptions* options, const API_IOParams& params,
                        const API_RenderingSettings& rendering);

    // Options to items.
    void refresh();
    // Items to options.
    void readBack();
    // The "Default Parameters" set into the options.
    void loadDefaults();
    // Runs the file chooser; a chosen file becomes the reference and checks "Use Reference File".
    void chooseReferenceFile();
    bool referenceValid() const { return mReferenceValid; }

    DG::Button mExport, mCancel, mDefaults;
    DG::LeftText mTitle;
    DG::CheckBox mCameras, mLights, mSun, mWall, mRoof, mSlab, mOthers, mUseReference;
    DG::LeftText mTextures, mReferenceText;
    DG::Button mChoose;
    DG::CheckBox mReplaceMaterials, mAddContent, mUniqueLayer;

private:
    ExportOptions* mOptions;
    API_RenderingSettings mRendering;
    GS::UniString mNoReference;
    bool mReferenceValid = false;
};

// Reacts to the user: buttons, check boxes and the opening of the dialog.
class ExportOptionsObserver : public DG::PanelObserver, public DG::ButtonItemObserver,
                              public DG::CheckItemObserver {
public:
    explicit ExportOptionsObserver(ExportOptionsDialog& dialog);
    ~ExportOptionsObserver() override;
    ExportOptionsObserver(const ExportOptionsObserver&) = delete;
    ExportOptionsObserver& operator=(const ExportOptionsObserver&) = delete;

    void PanelOpened(const DG::PanelOpenEvent& ev) override;
    void ButtonClicked(const DG::ButtonClickEvent& ev) override;
    void CheckItemChanged(const DG::CheckItemChangeEvent& ev) override;

private:
    ExportOptionsDialog& mDialog;
};

// Shows the dialog on the options; true for "Export", false for "Cancel" or a missing resource.
bool showExportOptionsDialog(ExportOptions* options, const API_IOParams& params,
                             const API_RenderingSettings& rendering);

}  // namespace KSV

#endif
