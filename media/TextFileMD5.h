#pragma once

#include <string>
#include <vector>

namespace Media {

// Line-oriented reader of MD5 text files with keyword search. Header values are found by
// keyword, sections by their opening line; records are scanned straight from the text
// after the current line, skipping whatever does not fit the record (comments, blank
// lines) a line at a time.
class TextFileMD5 {
public:
    // One scanned value of a record.
    struct Field {
        enum Kind { Int, Float, Word } Type;
        int* IntValue = nullptr;
        float* FloatValue = nullptr;
        std::string* WordValue = nullptr;
        Field(int* v) : Type(Int), IntValue(v) {}
        Field(float* v) : Type(Float), FloatValue(v) {}
        Field(std::string* v) : Type(Word), WordValue(v) {}
    };

    explicit TextFileMD5(std::string text);
    // Reads a whole file through IO::TextFile (and its failure texts).
    static TextFileMD5 Open(const std::string& fileName);

    int ReadInteger(const std::string& Keyword);
    std::string ReadString(const std::string& Keyword);
    void SeekChunk(const std::string& Keyword);
    void SeekFrame(int Index);

    // Scans one record with a scanf-like format ("%d", "%f", "%s", white space matching
    // any run of white space, other characters matching themselves). Returns true when
    // every field matched; otherwise tries again from the next line, and returns false at
    // the end of the text. Fields are written only by the successful attempt.
    bool ScanRecord(const char* format, std::vector<Field> fields);
    // One attempt only, no skipping: true when every field matched.
    bool ScanOnce(const char* format, std::vector<Field> fields);

    const std::string& CurrentLine() const { return line; }

    // Longest quoted value accepted (the command line's field).
    static constexpr size_t MaxQuoted = 4096;

private:
    bool NextLine();
    // Attempts the format at pos; on success advances pos and returns true.
    // firstToken receives the offset of the first non-space character looked at.
    bool Attempt(const char* format, std::vector<Field>& fields, size_t& firstToken);
    static std::string FirstWord(const std::string& text, size_t& rest);

    std::string text;
    size_t pos = 0;
    std::string line;
};

// Scans a whole string with the same rules (used on the current line).
bool ScanText(const std::string& text, const char* format,
              std::vector<TextFileMD5::Field> fields);

} // namespace Media
