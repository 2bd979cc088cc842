// The token readers: CReader reads values (integers, reals, colours, vectors, texts) from a
// client stream, CTokenReader splits legacy text into typed tokens.
#ifndef SCN_TOKEN_READER_H
#define SCN_TOKEN_READER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ScnClient.h"
#include "document/TokenTable.h"

namespace NvScn {

class CSCN;

// Kinds of tokens.
enum ETokenType : int32_t {
    eTokenUnset = -1,   // a lone "-": no kind (callers must not rely on it)
    eTokenNumber = 0,   // optional "-", digits, optionally "." and digits
    eTokenOption = 1,   // "-" and a letter, then letters, digits and "_"
    eTokenWord = 2,     // a letter, then letters, digits and "_"
    eTokenText = 3,     // the bytes between two double-quote characters
    eTokenEnd = 4       // end of the data (also a text or comment cut off by it)
};

// A token: its kind, where it starts (line, column, stream position) and its text.
struct CToken {
    CToken() { text.reserve(64); }

    int32_t type = eTokenEnd;
    int32_t line = 0;
    int32_t column = 0;
    int64_t position = 0;
    std::string text;
};

// Reads token text from a stream through a buffer of its own; the stream is put back at the
// logical position by sync() and on destruction. Read errors throw the token messages; colour
// and NaN/INF reports go to the scene's feedback (dropped without scene).
class CReader {
public:
    // Bytes asked of the stream per read (1 to 1 MB); the reader may leave the stream up to this
    // far ahead until sync(), so over a stream that seeks back only so far the chunk must fit.
    static constexpr size_t kDefaultChunk = 4096;

    // Fails with the missing-pointer form when the stream is null.
    CReader(CScnStream* stream, CSCN* scene, size_t chunk = kDefaultChunk);
    CReader(const CReader&) = delete;
    CReader& operator=(const CReader&) = delete;
    virtual ~CReader();

    // Three reals as x, y, z, then the scene's vector fix-up.
    virtual CScnVector readVector();
    // Three components read as reals into bytes 1 to 3 (byte 0 = 0); see the token rules.
    virtual CScnColor readColor();
    // Three integers limited to -63 ... 63 into bytes 1 to 3 (byte 0 = 0).
    virtual CScnColor readSignedColor();
    // A real; hadPoint (may be null) tells whether a decimal point was present.
    virtual double readReal(bool* hadPoint);
    // An integer; fails on a following decimal point.
    virtual int32_t readInt();
    // A table of count values; this reader reads no values (they stay 0).
    virtual std::unique_ptr<CTable> readTable(int32_t count);
    // Skips blanks, then the bytes up to the next blank.
    virtual std::string readWord();
    // A quoted text (0x7F before a double quote stands for it) or the rest of the line.
    virtual std::string readText();
    // The next token; this reader leaves it empty (an end token).
    virtual void readToken(CToken& token);

    double readReal() { return readReal(nullptr); }

    // Consumes bytes up to and including the byte; fails at the end of the data.
    void skipTo(char byte);
    // Whether only spaces and tabs precede the line end, a "#" or the end; moves nothing.
    bool isRestOfLineEmpty();
    // A text marked U"..." taken as UTF-8, otherwise readText() converted from Windows-1252.
    std::string readUnicodeText();
    // The next byte without consuming it, or -1 at the end of the data.
    int peekByte()
    {
        int c = get();
        if (c >= 0) {
            unget();
        }
        return c;
    }
    // Consumes the next byte; -1 at the end of the data.
    int readByte() { return get(); }
    // Puts the stream at the logical position and empties the buffer.
    void sync();
    // The logical position: where the next byte comes from.
    int64_t getPosition() const { return mBase + static_cast<int64_t>(mPos); }

    CScnStream* getStream() const { return mStream; }
    CSCN* getScene() const { return mScene; }

protected:
    // The next byte (0 to 255), or -1 at the end of the data.
    int get()
    {
        if (mPos == mEnd && !refill()) {
            return -1;
        }
        return mBuffer[mPos++];
    }
    // Gives back the last byte that get() delivered.
    void unget() { --mPos; }
    // Skips spaces, tabs, line ends and "#" comments.
    void skipBlanks();
    // Sends a report to the scene's feedback.
    void warning(const char* text) const;
    // Reads a quoted text whose opening double quote was consumed.
    std::string readQuoted();

private:
    bool refill();
    void seek(int64_t position);

    CScnStream* mStream;
    CSCN* mScene;
    size_t mChunk;
    std::vector<unsigned char> mBuffer;
    size_t mPos = 0;
    size_t mEnd = 0;
    int64_t mBase = 0;
    bool mAtEnd = false;
    // A logical position that refills keep in the buffer (-1: none).
    int64_t mMark = -1;
    std::string mDigits;
};

// Splits the text into tokens; the line and column counters and the byte count are shared by
// every token reader of the process.
class CTokenReader : public CReader {
public:
    CTokenReader(CScnStream* stream, CSCN* scene, size_t chunk = kDefaultChunk);

    // count -1 reads the count as a token first; then count tokens converted to reals.
    std::unique_ptr<CTable> readTable(int32_t count) override;
    // A token that must be a word.
    std::string readWord() override;
    // Runs the tokenizer and copies the token.
    void readToken(CToken& token) override;

    // Runs the tokenizer; the token stays valid until the next call.
    const CToken& nextToken();
    const CToken& getToken() const { return mToken; }

    // The token's text with the "%d" conversion; fails when nothing converts.
    static int32_t tokenToInt(const CToken& token);
    // The token's text with the "%lf" conversion; fails when nothing converts.
    static double tokenToReal(const CToken& token);

    // The process-wide diagnostics counters.
    static int32_t getLine();
    static int32_t getColumn();
    static int64_t getBytesRead();
    static void resetCounters();

private:
    int next();
    void back();
    void readNumberTail();

    CToken mToken;
};

}  // namespace NvScn

#endif
