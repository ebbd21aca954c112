// Input validators of edit controls: a filter on the characters that may be
// typed or pasted, and a check of the whole text when the dialog or page
// closes. The complaint goes through the user-interaction seam.
#pragma once

#include <windows.h>

#include <bitset>
#include <string>

// A set of the 256 byte values, made from a text that lists characters:
// "a-z" is the range from a to z; a "-" first or last stands for itself.
class TCharSet {
public:
    TCharSet() = default;
    explicit TCharSet(const std::string& chars);
    bool Has(unsigned char c) const { return bits_[c]; }
    void Add(unsigned char c) { bits_[c] = true; }
    void Remove(unsigned char c) { bits_[c] = false; }

protected:
    std::bitset<256> bits_;
};

// Every byte value except those listed. A "-" that is neither first nor
// last also removes every value strictly between its two neighbours, and
// is not itself removed.
class TExceptCharSet : public TCharSet {
public:
    explicit TExceptCharSet(const std::string& chars);
};

class TValidator {
public:
    virtual ~TValidator() = default;
    // Whether a typed or pasted character may enter the text.
    virtual bool IsValidInput(char) const { return true; }
    // Whether the whole text is acceptable.
    virtual bool IsValid(const std::string&) const { return true; }
    virtual std::string ErrorText() const { return "The value is not valid."; }
    // Shows the complaint (a message box owned by owner).
    void Error(HWND owner) const;
};

class TFilterValidator : public TValidator {
public:
    explicit TFilterValidator(const TCharSet& allowed) : allowed_(allowed) {}
    bool IsValidInput(char c) const override { return allowed_.Has(static_cast<unsigned char>(c)); }
    bool IsValid(const std::string& text) const override;
    std::string ErrorText() const override { return "The text holds characters that are not allowed."; }

private:
    TCharSet allowed_;
};

// A whole number from min to max; only "0-9+-" may be typed.
class TRangeValidator : public TFilterValidator {
public:
    TRangeValidator(long min, long max) : TFilterValidator(TCharSet("0-9+-")), min_(min), max_(max) {}
    bool IsValid(const std::string& text) const override;
    std::string ErrorText() const override;

private:
    long min_;
    long max_;
};
