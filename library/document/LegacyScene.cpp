#include "document/LegacyScene.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>

#include "document/DocumentMessages.h"
#include "document/HeaderParsers.h"
#include "document/TokenReader.h"
#include "model/Scene.h"
#include "platform/Failure.h"

namespace NvScn {

namespace {

constexpr size_t kMaxFileName = 255;
constexpr const char* kDatabaseOption = "-dbfile";

// The option words of the keyword-driven options, 123 in all.
constexpr std::array<const char*, 123> kOptionWords = {
    "-dbfile", "-eye", "-motif", "-anim", "-backmapping", "-bg_map", "-bgmap", "-bg_url", "-metasphere",
    "-metasphereangle", "-metasphereorigin", "-bgtop", "-bgbot", "-bgup", "-bgpow", "-bglevel", "-atm_on",
    "-atm_color", "-atm_dens_high", "-atm_dens_midle", "-atm_dens_middle", "-atm_dens_low", "-atm_scale",
    "-atm_mini", "-atm_maxi", "-atm_noise", "-ambiant", "-ambient", "-heliodon_h", "-heliodon_pt",
    "-heliodon_es", "-helio_ss_output", "-helio_ss_output_folder", "-helio_ss_output_type",
    "-helio_ss_size", "-helio_ss_antialias", "-helio_ss_reflex", "-helio_ss_refrac", "-helio_ss_shadows",
    "-helio_ss_transparency", "-heliodon_ss_render_all", "-helio_ss_compression", "-helio_ss_fframe_rate",
    "-helio_ss_freq_hr", "-helio_ss_freq_min", "-helio_ss_freq_day", "-helio_ss_freq_mth",
    "-helio_ss_typ_freq_yr", "-helio_ss_typ_freq_day", "-helio_ss_in_year", "-helio_ss_this_hr",
    "-helio_ss_this_day", "-helio_ss_duree_img", "-helio_ss_mth_period", "-helio_ss_hr_period", "-acam",
    "-mpov", "-pano", "-link", "-raytracing", "-shadows", "-transparency", "-render_all", "-reflex",
    "-refrac", "-resolution", "-render_size", "-render_output", "-output", "-render_output_type",
    "-render_output_folder", "-antialias", "-render_antialias", "-render_raytracing", "-render_shadows",
    "-render_transparency", "-render_render_all", "-render_reflex", "-render_refrac", "-render_alpha",
    "-render_compression", "-vr_raytracing", "-vr_shadows", "-vr_transparency", "-vr_render_all",
    "-vr_reflex", "-vr_refrac", "-vr_size", "-vr_output", "-vr_output_type", "-vr_output_folder",
    "-vr_antialias", "-vr_alpha", "-vr_compression", "-vr_resolution", "-anim_raytracing", "-anim_shadows",
    "-anim_transparency", "-anim_render_all", "-anim_reflex", "-anim_refrac", "-anim_size", "-anim_output",
    "-anim_output_type", "-anim_output_folder", "-anim_antialias", "-anim_alpha", "-anim_compression",
    "-anim_first_last", "-vrobj_output", "-vrobj_output_folder", "-vrobj_output_type", "-vrobj_size",
    "-vrobj_antialias", "-vrobj_raytracing", "-vrobj_shadows", "-vrobj_alpha", "-vrobj_transparency",
    "-vrobj_render_all", "-vrobj_reflex", "-vrobj_refrac", "-vrobj_compression", "-view_object"};

bool isWord(const CToken& token, const char* text)
{
    return token.type == eTokenWord && token.text == text;
}

int32_t readVersionNumber(CTokenReader& reader)
{
    const CToken& token = reader.nextToken();
    if (token.type != eTokenNumber) {
        Nuvora::fail(DocMsg::kWrongFormat);
    }
    return CTokenReader::tokenToInt(token);
}

CLegacyHead readHead(CTokenReader& reader)
{
    CLegacyHead head;
    const CToken& first = reader.nextToken();
    if (first.type == eTokenOption) {
        if (first.text == kDatabaseOption) {
            head.kind = ELegacyHead::eDatabase;
        } else if (first.text == "-eye") {
            head.kind = ELegacyHead::eTolven;
        }
        return head;
    }
    if (!isWord(first, "opt") || !isWord(reader.nextToken(), "db") ||
        !isWord(reader.nextToken(), "version")) {
        return head;
    }
    head.major = readVersionNumber(reader);
    head.minor = readVersionNumber(reader);
    if (isKnownLegacyVersion(head.major, head.minor)) {
        head.kind = ELegacyHead::eOptions;
    }
    return head;
}

std::string trimmedRight(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

// Releases a secondary stream that the library opened, whatever happens.
class CSecondaryStream {
public:
    explicit CSecondaryStream(CScnStream* stream) : mStream(stream) {}
    ~CSecondaryStream()
    {
        try {
            mStream->release();
        } catch (...) {
            // A client stream that throws while it is destroyed cannot be released again.
        }
    }
    CSecondaryStream(const CSecondaryStream&) = delete;
    CSecondaryStream& operator=(const CSecondaryStream&) = delete;

private:
    CScnStream* mStream;
};

}  // namespace

bool isKnownLegacyVersion(int32_t major, int32_t minor)
{
    return (major == 3 && minor == 5) || (major == 4 && minor == 0);
}

CLegacyHead readLegacyHead(CTokenReader& reader)
{
    try {
        return readHead(reader);
    } catch (const std::exception&) {
        return CLegacyHead();
    }
}

void describeLegacyHead(const CLegacyHead& head, char* buffer, int32_t bufferSize)
{
    switch (head.kind) {
    case ELegacyHead::eOptions:
        describe(buffer, bufferSize, DocMsg::kLegacyOptionsDescription, head.major, head.minor);
        break;
    case ELegacyHead::eDatabase:
        describe(buffer, bufferSize, DocMsg::kLegacyDatabaseDescription, 0, 0);
        break;
    case ELegacyHead::eTolven:
        describe(buffer, bufferSize, DocMsg::kLegacyTolvenDescription, 0, 0);
        break;
    case ELegacyHead::eNone:
        break;
    }
}

bool isLegacyOptionWord(const std::string& word)
{
    return std::any_of(kOptionWords.begin(), kOptionWords.end(),
                       [&](const char* option) { return word == option; });
}

std::string legacyFileName(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > kMaxFileName) {
        name.resize(kMaxFileName);
    }
    return name;
}

void COPTIO::read()
{
    readHead();
    while (mReader.getToken().type != eTokenEnd) {
        readOption();
    }
}

void COPTIO::readHead()
{
    const CToken* token = &mReader.nextToken();
    if (isWord(*token, "opt")) {
        if (!isWord(mReader.nextToken(), "db")) {
            Nuvora::fail(DocMsg::kOptionsError);
        }
        token = &mReader.nextToken();
    }
    if (isWord(*token, "version")) {
        int32_t major = readVersionNumber(mReader);
        int32_t minor = readVersionNumber(mReader);
        if (!isKnownLegacyVersion(major, minor)) {
            Nuvora::fail(DocMsg::kWrongFormat);
        }
        mReader.nextToken();
    }
}

void COPTIO::readOption()
{
    const CToken& token = mReader.getToken();
    if (token.type != eTokenOption) {
        Nuvora::fail(DocMsg::kOptionsError);
    }
    if (!isLegacyOptionWord(token.text)) {
        Nuvora::fail(DocMsg::kUnrecognizedToken);
    }
    if (token.text == kDatabaseOption) {
        mScene.setLegacyPath(trimmedRight(mReader.readUnicodeText()));
    }
    // The values run up to the next option word.
    while (mReader.nextToken().type != eTokenOption && mReader.getToken().type != eTokenEnd) {
    }
}

void readLegacyScene(CSCN& scene, CScnStream* stream)
{
    int64_t start = stream->getPosition();
    {
        CTokenReader probe(stream, nullptr);
        if (readLegacyHead(probe).kind == ELegacyHead::eNone) {
            Nuvora::fail(DocMsg::kNotValidScn);
        }
    }
    stream->setPosition(start);
    scene.setLegacyPath(std::string());
    {
        CTokenReader reader(stream, &scene);
        COPTIO(scene, reader).read();
    }
    if (scene.getLegacyPath().empty()) {
        return;
    }
    CScnStream* geometry = stream->openSecondaryStream(legacyFileName(scene.getLegacyPath()).c_str(), 0);
    if (geometry == nullptr) {
        Nuvora::fail(DocMsg::kCantOpenSecondary);
    }
    CSecondaryStream release(geometry);
    Nuvora::fail(DocMsg::kLegacyGeometryUnsupported);
}

}  // namespace NvScn
