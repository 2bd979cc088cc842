// Camera paths in the token text of older scenes.
#ifndef SCN_ANIMATION_IO_H
#define SCN_ANIMATION_IO_H

namespace NvScn {

class CAnimation;
class CReader;

// Reads one camera path record:
//
//     <flag> "<name>"
//     <duration> <extra images> <speed>
//     <point count> then that many points, x y z each
//     <key count> then per key: <key type> <pitch> <focal> <fading duration> <fading images>
//         <horizontal angle> <vertical angle> <anticipation> <Bezier section> <Bezier t>
//         <Bezier transition> <Bezier transition t> <target x y z>
//
// The flag is 0 to 3: value 1 closes the path, value 2 turns the speed on; any other flag fails
// with "Wrong animation flag!". The name is a quoted text (U"..." for UTF-8, Windows-1252
// otherwise) on the flag's line. Duration and extra images go through the path's setters; points
// pass through the scene's vector fix-up. Counts are never trusted for memory: items are added as
// they are read, and a negative count fails with "Invalid table length".
class CAnimationIO {
public:
    // reader may be null: every read then fails with "No reader provided in CAnimationIO!".
    explicit CAnimationIO(CReader* reader) : mReader(reader) {}

    // Replaces the path's fields, points and keys by the record's.
    void read(CAnimation& path);

private:
    CReader* mReader;
};

}  // namespace NvScn

#endif
