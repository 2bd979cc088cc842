// The map from the host's materials to the scene's, filled by the material export and read by the
// geometry suppliers.
#ifndef KSV_MATERIAL_MAP_H
#define KSV_MATERIAL_MAP_H

#include <cstdint>
#include <vector>

namespace KSV {

// Host material index (1-based) to the number (1-based) of the scene material that stands for
// it; 0 when the map holds nothing for the index.
class MaterialMap {
public:
    // Records the scene material's number for the host material (0 records that there is none).
    void record(int32_t hostIndex, int32_t sceneNumber)
    {
        if (hostIndex < 1) {
            return;
        }
        if (static_cast<std::size_t>(hostIndex) >= mNumbers.size()) {
            mNumbers.resize(static_cast<std::size_t>(hostIndex) + 1, 0);
        }
        mNumbers[static_cast<std::size_t>(hostIndex)] = sceneNumber;
    }
    // The scene material's number, 0 when none is recorded.
    int32_t find(int32_t hostIndex) const
    {
        return hostIndex >= 1 && static_cast<std::size_t>(hostIndex) < mNumbers.size()
                   ? mNumbers[static_cast<std::size_t>(hostIndex)] : 0;
    }
    void clear() { mNumbers.clear(); }

private:
    std::vector<int32_t> mNumbers;
};

}  // namespace KSV

#endif
