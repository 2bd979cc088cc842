#include "ExportOptionsDialog.h"
#include "Errors.h"
#include "Module.h"

#include <Scn.h>

namespace KSV {
namespace {

bool opensForReading(const std::u16string& path)
{
    if (path.empty()) {
        return false;
    }
    const IO::Location location{GS::UniString(path)};
    IO::File file(location);
    return file.GetStatus() == NoError && file.Open(IO::File::ReadMode, IO::NoAskOnAccessDenied) == NoError;
}

}  // namespace

ExportOptionsDialog::ExportOptionsDialog(GSResID resId, ExportOptions* options,
                                         const API_IOParams& /*params: nothing the dialog shows*/,
                                         const API_RenderingSettings& rendering)
    : DG::ModalDialog(ActiveResModule, resId),
      mExport(*this, ExportButton), mCancel(*this, CancelButton), mDefaults(*this, DefaultsButton),
      mTitle(*this, TitleText), mCameras(*this, CamerasCheck), mLights(*this, LightsCheck),
      mSun(*this, SunCheck), mWall(*this, WallCheck), mRoof(*this, RoofCheck), mSlab(*this, SlabCheck),
      mOthers(*this, OthersCheck), mUseReference(*this, UseReferenceCheck),
      mTextures(*this, TexturesText), mReferenceText(*this, ReferenceText), mChoose(*this, ChooseButton),
      mReplaceMaterials(*this, ReplaceMaterialsCheck), mAddContent(*this, AddContentCheck),
      mUniqueLayer(*this, UniqueLayerCheck), mOptions(options), mRendering(rendering),
      mNoReference(mReferenceText.GetText())
{
}

void ExportOptionsDialog::refresh()
{
    std::u16string path;
    mReferenceValid = referencePathOf(*mOptions, &path) && opensForReading(path);
    if (mReferenceValid) {
        mReferenceText.SetText(GS::UniString(path));
    } else {
        clearReference(mOptions);
        mReferenceText.SetText(mNoReference);
    }
    const bool useReference = mOptions->useReference != 0;
    mUseReference.SetState(useReference);
    mChoose.SetStatus(useReference);
    mReplaceMaterials.SetStatus(useReference);
    mAddContent.SetStatus(useReference);
    mCameras.SetState((mOptions->cameras & 1) != 0);
    mLights.SetState((mOptions->lights & 1) != 0);
    mSun.SetState(mOptions->sun != 0);
    mWall.SetState(mOptions->textureWall != 0);
    mRoof.SetState(mOptions->textureRoof != 0);
    mSlab.SetState(mOptions->textureSlab != 0);
    mOthers.SetState(mOptions->textureOthers != 0);
    mReplaceMaterials.SetState(mOptions->replaceMaterials != 0);
    mAddContent.SetState(mOptions->addReferenceContent != 0);
    mUniqueLayer.SetState(mOptions->uniqueLayer != 0);
    mLights.SetStatus(mRendering.lights != 0);
    mSun.SetStatus(mRendering.sun != 0);
}

void ExportOptionsDialog::readBack()
{
    auto flag = [](const DG::CheckBox& box) -> uint8_t { return box.IsChecked() ? 1 : 0; };
    mOptions->cameras = flag(mCameras);
    mOptions->lights = flag(mLights);
    mOptions->sun = flag(mSun);
    mOptions->textureWall = flag(mWall);
    mOptions->textureRoof = flag(mRoof);
    mOptions->textureSlab = flag(mSlab);
    mOptions->textureOthers = flag(mOthers);
    mOptions->useReference = flag(mUseReference);
    mOptions->replaceMaterials = flag(mReplaceMaterials);
    mOptions->addReferenceContent = flag(mAddContent);
    mOptions->uniqueLayer = flag(mUniqueLayer);
}

void ExportOptionsDialog::loadDefaults() { setDefaultOptions(mOptions, mRendering); }

void ExportOptionsDialog::chooseReferenceFile()
{
    const NvScn::CScnFileType* const* types = NvScn::CScnMgr::getFileTypeList();
    if (types == nullptr || types[0] == nullptr || types[0]->extension == nullptr) {
        return;
    }
    const NvScn::CScnFileType& first = *types[0];
    char description[256];
    getResString(description, sizeof description, 131, 1);
    FTM::FileTypeManager manager("TemplateFileFTM");
    const FTM::FileType type(description, first.extension[0] == '.' ? first.extension + 1 : first.extension,
                             first.fileType, first.creator, 0);
    const FTM::TypeID id = manager.AddType(type, FTM::RootGroup);
    if (id == FTM::UnknownType) {
        return;
    }
    DG::FileDialog chooser(DG::FileDialog::OpenFile);
    if (!chooser.AddFilter(id) || !chooser.Invoke()) {
        return;
    }
    GS::UniString path;
    const GSErrCode error = chooser.GetSelectedFile().ToPath(&path);
    if (error != NoError) {
        throwHostError(error, kSrcOutputOptionsDialog, __LINE__);
    }
    // The record holds 511 characters: a longer path is refused with an alert, the reference
    // stays as it was.
    if (!setReferencePath(mOptions, path.Utf16())) {
        DGResAlert(ActiveResModule, 134 + 100 * languageIndex());
        return;
    }
    mOptions->useReference = 1;
    mUseReference.Check();
}

ExportOptionsObserver::ExportOptionsObserver(ExportOptionsDialog& dialog) : mDialog(dialog)
{
    mDialog.Attach(static_cast<DG::PanelObserver&>(*this));
    for (DG::Button* button : {&mDialog.mExport, &mDialog.mCancel, &mDialog.mDefaults, &mDialog.mChoose}) {
        button->Attach(static_cast<DG::ButtonItemObserver&>(*this));
    }
    for (DG::CheckBox* box : {&mDialog.mCameras, &mDialog.mLights, &mDialog.mSun, &mDialog.mWall,
                              &mDialog.mRoof, &mDialog.mSlab, &mDialog.mOthers, &mDialog.mUseReference,
                              &mDialog.mReplaceMaterials, &mDialog.mAddContent, &mDialog.mUniqueLayer}) {
        box->Attach(static_cast<DG::CheckItemObserver&>(*this));
    }
}

ExportOptionsObserver::~ExportOptionsObserver()
{
    mDialog.Detach(static_cast<DG::PanelObserver&>(*this));
    for (DG::Button* button : {&mDialog.mExport, &mDialog.mCancel, &mDialog.mDefaults, &mDialog.mChoose}) {
        button->Detach(static_cast<DG::ButtonItemObserver&>(*this));
    }
    for (DG::CheckBox* box : {&mDialog.mCameras, &mDialog.mLights, &mDialog.mSun, &mDialog.mWall,
                              &mDialog.mRoof, &mDialog.mSlab, &mDialog.mOthers, &mDialog.mUseReference,
                              &mDialog.mReplaceMaterials, &mDialog.mAddContent, &mDialog.mUniqueLayer}) {
        box->Detach(static_cast<DG::CheckItemObserver&>(*this));
    }
}

void ExportOptionsObserver::PanelOpened(const DG::PanelOpenEvent&)
{
    mDialog.SetClientSize(mDialog.GetOriginalClientWidth(), mDialog.GetOriginalClientHeight());
}

void ExportOptionsObserver::ButtonClicked(const DG::ButtonClickEvent& ev)
{
    const DG::Item* source = ev.GetSource();
    if (source == &mDialog.mExport) {
        mDialog.readBack();
        mDialog.PostCloseRequest(DG::ModalDialog::Accept);
    } else if (source == &mDialog.mCancel) {
        mDialog.PostCloseRequest(DG::ModalDialog::Cancel);
    } else if (source == &mDialog.mDefaults) {
        mDialog.loadDefaults();
        mDialog.refresh();
    } else if (source == &mDialog.mChoose) {
        mDialog.chooseReferenceFile();
        mDialog.readBack();
        mDialog.refresh();
    }
}

void ExportOptionsObserver::CheckItemChanged(const DG::CheckItemChangeEvent& ev)
{
    if (ev.GetSource() == &mDialog.mUseReference) {
        if (mDialog.mUseReference.IsChecked() && !mDialog.referenceValid()) {
            mDialog.chooseReferenceFile();
        } else if (!mDialog.mUseReference.IsChecked()) {
            mDialog.mChoose.Disable();
            mDialog.mReplaceMaterials.Disable();
            mDialog.mAddContent.Disable();
        }
    }
    mDialog.readBack();
    mDialog.refresh();
}

bool showExportOptionsDialog(ExportOptions* options, const API_IOParams& params,
                             const API_RenderingSettings& rendering)
{
    ActiveResources active;
    ExportOptionsDialog dialog(131 + 100 * languageIndex(), options, params, rendering);
    if (dialog.GetId() == 0) {
        return false;
    }
    ExportOptionsObserver observer(dialog);
    dialog.refresh();
    return dialog.Invoke();
}

}  // namespace KSV
