#include "ProductLayout.h"

#include <array>
#include <cmath>
#include <stdexcept>

namespace product_tree {
namespace {

// Library bytes besides the executable, so that the whole product is about 50.6 MB.
constexpr std::size_t LibraryBytes = 49'870'000;
constexpr std::size_t VisualRuntimeBytes = 12'880'288;
constexpr std::size_t CoreRuntimeBytes = 4'194'816;
constexpr std::size_t FileAlignment = 512;

struct Folder {
    const char* name;
    std::vector<const char*> libraries;
};

const std::array<Folder, 10>& folders() {
    static const std::array<Folder, 10> list = {{
        {"Charts", {"ChartCore", "ChartAxes", "ChartLegend", "ChartSeries", "ChartExport", "ChartThemes", "ChartGauges", "ChartMaps"}},
        {"Codecs", {"CodecZip", "CodecLz", "CodecBase64", "CodecAudio", "CodecVideo", "CodecImage", "CodecText", "CodecCrypt", "CodecHash"}},
        {"Connectors", {"ConnLocalDb", "ConnRemoteDb", "ConnHttp", "ConnFtp", "ConnMail", "ConnQueue", "ConnCache", "ConnDirectory", "ConnRest", "ConnSoap"}},
        {"Imaging", {"ImgBitmap", "ImgRaster", "ImgFilters", "ImgColor", "ImgScale", "ImgTiff", "ImgPng", "ImgJpeg", "ImgVector", "ImgText", "ImgMeta", "ImgThumbs"}},
        {"Locales", {"LocPtBr", "LocEnUs", "LocEsEs", "LocFrFr", "LocDeDe", "LocItIt"}},
        {"Printing", {"PrnCore", "PrnPreview", "PrnLabels", "PrnBarcode", "PrnSpool", "PrnDocument", "PrnDialogs"}},
        {"Reporting", {"RepCore", "RepDesigner", "RepEngine", "RepExportCsv", "RepExportSheet", "RepExportHtml", "RepCharts", "RepFormulas", "RepTemplates"}},
        {"Scripting", {"ScrEngine", "ScrParser", "ScrRuntime", "ScrDebug", "ScrStdLib", "ScrMath", "ScrRegex", "ScrJson"}},
        {"Spelling", {"SpellCore", "SpellPtBr", "SpellEnUs", "SpellEsEs", "SpellHyphen", "SpellThesaurus"}},
        {"Storage", {"StoreCore", "StoreIndex", "StoreJournal", "StoreBackup", "StoreSync", "StoreCrypt", "StoreCompact"}},
    }};
    return list;
}

// A spread of dates over 2023, at working hours, seconds even.
std::tm modifiedTime(unsigned index) {
    std::tm t{};
    t.tm_year = 2023 - 1900;
    t.tm_mon = static_cast<int>((index * 7) % 12);
    t.tm_mday = static_cast<int>(1 + (index * 11) % 28);
    t.tm_hour = static_cast<int>(9 + index % 8);
    t.tm_min = static_cast<int>((index * 13) % 60);
    t.tm_sec = static_cast<int>((index * 2) % 60);
    t.tm_isdst = -1;
    return t;
}

std::size_t aligned(double bytes) {
    return static_cast<std::size_t>(std::llround(bytes / FileAlignment)) * FileAlignment;
}

}  // namespace

std::vector<LibraryFile> productLayout() {
    std::vector<LibraryFile> files;
    files.push_back({"kvbase230.pkg", CoreRuntimeBytes, {}});
    files.push_back({"kvvisual230.pkg", VisualRuntimeBytes, {}});

    // Library sizes from a fixed log-normal-like spread, scaled to the remaining bytes.
    std::vector<double> weights;
    for (const Folder& folder : folders()) {
        for (const char* library : folder.libraries) {
            files.push_back({std::string(folder.name) + "/" + library + ".dll", 0, {}});
            const unsigned k = static_cast<unsigned>(weights.size());
            weights.push_back(std::exp(1.6 * std::sin(k * 2.3999632) + 0.5 * std::cos(k * 0.7)));
        }
    }
    if (weights.size() != 82) throw std::logic_error("the sample product must have 82 libraries");
    double total = 0;
    for (double w : weights) total += w;
    const double scale = static_cast<double>(LibraryBytes - VisualRuntimeBytes - CoreRuntimeBytes) / total;
    for (std::size_t i = 0; i < weights.size(); ++i) files[i + 2].size = aligned(weights[i] * scale);

    for (unsigned i = 0; i < files.size(); ++i) files[i].modified = modifiedTime(i);
    return files;
}

}  // namespace product_tree
