#include "prefs/files/FileNameField.h"

const char kFileNameRefusedChars[] = ":*?<>|\"";

FileNameFieldValidator::FileNameFieldValidator(const char* refusedInText)
    : TFilterValidator(TExceptCharSet(kFileNameRefusedChars)), wholeText_(refusedInText) {}

bool FileNameFieldValidator::IsValid(const std::string& text) const {
    for (char c : text) {
        if (!wholeText_.Has(static_cast<unsigned char>(c))) return false;
    }
    return true;
}
