// The module's life driven as the host drives it, in every language.
#include "test_addon_support.h"

namespace {

struct LanguageCase {
    const char* code;
    int index;
    const char* description;
    const char* dialogTitle;
    const char* parallelTitle;
};

class ModuleLanguages : public AddOnTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(ModuleLanguages, TheHostReceivesTheTextsOfItsLanguage)
{
    cadhost::setLanguage(GetParam().code);
    loadAddOn();
    EXPECT_EQ(mAddOn.checkResult, 1);
    EXPECT_EQ(mAddOn.name(), "Kestrovin Studio 3 Out (7.06)");
    EXPECT_EQ(mAddOn.description(), GetParam().description);
    ASSERT_EQ(cadhost::registeredFileTypes().size(), 1u);
    const cadhost::RegisteredFileType& type = cadhost::registeredFileTypes()[0];
    EXPECT_EQ(type.extension, "scn");
    EXPECT_EQ(type.description, "Kestrovin Studio File 3.0");
    EXPECT_EQ(type.record.refCon, 1);
    EXPECT_EQ(type.record.iconId, 0);
    EXPECT_EQ(type.record.flags, 48);
    EXPECT_NE(cadhost::installedHandler3D(1), nullptr);
    EXPECT_EQ(mAddOn.identifier[0], 1263752783u);

    cadhost::setDialogScript({{cadhost::UserAction::Click, 2, ""}});
    EXPECT_EQ(save(), APIERR_CANCEL);
    const std::string dialog = cadhost::transcript();
    EXPECT_EQ(dialog.substr(0, dialog.find('\n')), "Dialog " + std::to_string(131 + 100 * GetParam().index) +
                                                       " \"" + GetParam().dialogTitle + "\" (560 x 430)");
    cadhost::clearTranscript();
    cadhost::project().projection.isPersp = 0;
    EXPECT_EQ(save(), APIERR_CANCEL);
    const std::string alert = cadhost::transcript();
    EXPECT_EQ(alert.substr(0, alert.find('\n', alert.find('\n') + 1)),
              "Alert " + std::to_string(128 + 100 * GetParam().index) + "\n  " + GetParam().parallelTitle);
    mAddOn.unload();
    EXPECT_EQ(cadhost::debugLog(), "");
}

INSTANTIATE_TEST_SUITE_P(Languages, ModuleLanguages, ::testing::Values(
    LanguageCase{"def", 0, "Saves the 3D window in the Kestrovin Studio format. For technical support, please contact your Kestrovin reseller.", "Save Kestrovin Studio 3 Document", "Error!"},
    LanguageCase{"USA", 0, "Saves the 3D window in the Kestrovin Studio format. For technical support, please contact your Kestrovin reseller.", "Save Kestrovin Studio 3 Document", "Error!"},
    LanguageCase{"XYZ", 0, "Saves the 3D window in the Kestrovin Studio format. For technical support, please contact your Kestrovin reseller.", "Save Kestrovin Studio 3 Document", "Error!"},
    LanguageCase{"FRA", 1, "Enregistre la fenêtre 3D au format Kestrovin Studio. Pour toute assistance technique, adressez-vous à votre revendeur Kestrovin.", "Enregistrer un document Kestrovin Studio 3", "Erreur !"},
    LanguageCase{"GER", 2, "Sichert das 3D-Fenster im Format von Kestrovin Studio. Technische Unterstützung erhalten Sie bei Ihrem Kestrovin-Händler.", "Kestrovin Studio 3-Dokument sichern", "Fehler!"},
    LanguageCase{"AUT", 2, "Sichert das 3D-Fenster im Format von Kestrovin Studio. Technische Unterstützung erhalten Sie bei Ihrem Kestrovin-Händler.", "Kestrovin Studio 3-Dokument sichern", "Fehler!"},
    LanguageCase{"CHE", 2, "Sichert das 3D-Fenster im Format von Kestrovin Studio. Technische Unterstützung erhalten Sie bei Ihrem Kestrovin-Händler.", "Kestrovin Studio 3-Dokument sichern", "Fehler!"},
    LanguageCase{"SPA", 3, "Guarda la ventana 3D en formato Kestrovin Studio. Para obtener asistencia técnica, póngase en contacto con su distribuidor de Kestrovin.", "Guardar documento de Kestrovin Studio 3", "¡Error!"},
    LanguageCase{"ITA", 4, "Salva la finestra 3D nel formato Kestrovin Studio. Per l'assistenza tecnica rivolgersi al proprio rivenditore Kestrovin.", "Salva documento Kestrovin Studio 3", "Errore!"},
    LanguageCase{"JPN", 5, "3D ウィンドウを Kestrovin Studio 形式で保存します。技術サポートについては、Kestrovin の販売店にお問い合わせください。", "Kestrovin Studio 3 ドキュメントを保存", "エラー！"},
    LanguageCase{"HUN", 6, "A 3D ablakot Kestrovin Studio formátumban menti. Műszaki támogatásért forduljon Kestrovin-viszonteladójához.", "Kestrovin Studio 3 dokumentum mentése", "Hiba!"},
    LanguageCase{"RUS", 7, "Сохраняет 3D-окно в формате Kestrovin Studio. За технической поддержкой обращайтесь к вашему дилеру Kestrovin.", "Сохранить документ Kestrovin Studio 3", "Ошибка!"},
    LanguageCase{"GRE", 8, "Αποθηκεύει το παράθυρο 3D σε μορφή Kestrovin Studio. Για τεχνική υποστήριξη απευθυνθείτε στον μεταπωλητή σας της Kestrovin.", "Αποθήκευση εγγράφου Kestrovin Studio 3", "Σφάλμα!"}));

// Every language index has the same resources.
TEST_F(AddOnTest, EveryLanguageHasEveryResource)
{
    loadAddOn();
    for (int index = 0; index < 9; ++index) {
        const int base = 100 * index;
        GS::UniString text;
        for (int item = 1; item <= 4; ++item) {
            EXPECT_TRUE(RSGetIndString(&text, 131 + base, item, mAddOn.resources)) << 131 + base << "/" << item;
        }
        DG::ModalDialog dialog(mAddOn.resources, 131 + base);
        EXPECT_EQ(dialog.GetId(), 131 + base);
        for (short item : {1, 2, 3, 5, 8, 10, 12, 14, 16, 18, 20, 21, 22, 24, 25, 26, 27, 29}) {
            EXPECT_FALSE(DG::Item(dialog, item).GetText().IsEmpty()) << 131 + base << " item " << item;
        }
        EXPECT_EQ(DGResAlert(mAddOn.resources, 128 + base), 1);
        EXPECT_EQ(DGResAlert(mAddOn.resources, 134 + base), 1);
    }
    EXPECT_EQ(DGResAlert(mAddOn.resources, 133), 1);
    EXPECT_EQ(DGResAlert(mAddOn.resources, 928 + 100), 0);
}

struct EarlyCase {
    const char* entry;
    int32_t answer;
};

class BeforeTheTable : public AddOnTest, public ::testing::WithParamInterface<EarlyCase> {};

TEST_P(BeforeTheTable, EntriesRefuseToWork)
{
    ASSERT_TRUE(mAddOn.load(KSV_ADDON_PATH, cadhost::AddOn::Opened)) << mAddOn.error();
    API_ExportedFuncs record;
    std::memset(&record, 0xAB, sizeof record);
    mAddOn.getExported(&record);
    Dl_info info;
    ASSERT_NE(::dladdr(reinterpret_cast<void*>(mAddOn.getExported), &info), 0);
    const auto base = reinterpret_cast<uintptr_t>(info.dli_fbase);
    const std::string entry = GetParam().entry;
    API_EnvirParams envir = {};
    int32_t answer = 0;
    if (entry == "environment check") {
        answer = reinterpret_cast<APICheckEnvironmentProc>(base + record.words[1])(&envir);
    } else if (entry == "interface registration") {
        answer = reinterpret_cast<APIRegisterInterfaceProc>(base + record.words[2])();
    } else if (entry == "initialisation") {
        answer = reinterpret_cast<APIInitializeProc>(base + record.words[3])(7);
    } else {
        answer = reinterpret_cast<APIFreeDataProc>(base + record.words[4])();
    }
    EXPECT_EQ(answer, GetParam().answer);
    EXPECT_TRUE(cadhost::registeredFileTypes().empty());
}

INSTANTIATE_TEST_SUITE_P(Entries, BeforeTheTable, ::testing::Values(
    EarlyCase{"environment check", 0}, EarlyCase{"interface registration", APIERR_GENERAL},
    EarlyCase{"initialisation", APIERR_GENERAL}, EarlyCase{"release", APIERR_GENERAL}));

TEST_F(AddOnTest, TheDescriptionRecordHoldsTheFormatAndHostVersion)
{
    ASSERT_TRUE(mAddOn.load(KSV_ADDON_PATH, cadhost::AddOn::Described)) << mAddOn.error();
    EXPECT_EQ(mAddOn.exported.words[0], 0x000E0001u);
    EXPECT_EQ(mAddOn.exported.words[5], 14000u);
    for (int word = 6; word < 15; ++word) {
        EXPECT_EQ(mAddOn.exported.words[word], 0u) << word;
    }
}

TEST_F(AddOnTest, AnUnknownServerKindIsRefused)
{
    ASSERT_TRUE(mAddOn.load(KSV_ADDON_PATH, cadhost::AddOn::Described)) << mAddOn.error();
    API_EnvirParams envir = {};
    envir.serverKind = 2;
    EXPECT_EQ(mAddOn.checkEnvironment(&envir), 0);
    EXPECT_EQ(envir.addOnName[0], 0);
    envir.serverKind = 1;
    EXPECT_EQ(mAddOn.checkEnvironment(&envir), 1);
    EXPECT_EQ(mAddOn.checkEnvironment(nullptr), 0);
}

TEST_F(AddOnTest, UnloadingWithoutReleaseIsAbnormal)
{
    loadAddOn();
    mAddOn.unload(false);
    EXPECT_EQ(cadhost::debugLog(), std::string("Abnormal add-on termination (\"") + KSV_ADDON_PATH + "\")\n");
}

GSErrCode refuse(uint32_t, void*, void*, void*, void*) { return APIERR_GENERAL; }

struct FailingHostCase {
    int entry;
    const char* loadError;   // empty: the module loads, the export answers exportAnswer
    GSErrCode exportAnswer;
    const char* log;
};

class FailingHost : public AddOnTest, public ::testing::WithParamInterface<FailingHostCase> {
protected:
    void TearDown() override
    {
        cadhost::overrideService(GetParam().entry, nullptr);
        AddOnTest::TearDown();
    }
};

TEST_P(FailingHost, EveryFailureReachesTheHostAsItsCode)
{
    cadhost::overrideService(GetParam().entry, refuse);
    const bool loaded = mAddOn.load(KSV_ADDON_PATH);
    if (*GetParam().loadError != '\0') {
        EXPECT_FALSE(loaded);
        EXPECT_EQ(mAddOn.error(), std::string("cannot load the add-on \"") + KSV_ADDON_PATH + "\": " + GetParam().loadError);
    } else {
        ASSERT_TRUE(loaded) << mAddOn.error();
        EXPECT_EQ(save(), GetParam().exportAnswer);
    }
    EXPECT_EQ(cadhost::debugLog(), GetParam().log);
}

INSTANTIATE_TEST_SUITE_P(Entries, FailingHost, ::testing::Values(
    FailingHostCase{kACRegisterFileType, "its interface registration answered -2130313215", 0, ""},
    FailingHostCase{kACInstallFileTypeHandler3D, "its initialisation answered -2130313215", 0,
                    "Kestrovin_Out:: Initialize() ACAPI_Install_FileTypeHandler3D failed\n"},
    FailingHostCase{kACGetPreferences, "", APIERR_GENERAL, ""},
    FailingHostCase{kACSetPreferences, "", APIERR_GENERAL, ""},
    FailingHostCase{kAC3DSettings, "", APIERR_GENERAL, ""}));

}  // namespace
