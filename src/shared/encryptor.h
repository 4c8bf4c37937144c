// clsBinaryEncryptor: shifts every byte of a file by the bytes of a password (adding to encrypt,
// subtracting to decrypt), with progress events. It is a reversible scrambling of the bytes, not
// encryption: anyone can undo it. Nothing in the programs uses it.
//
// Byte i of the file (counting from 1) is shifted by the low byte of the UTF-16 code of the
// password's character at position (i mod L) + 1, L being the password's length in UTF-16 units
// (the password is given in the ANSI code page): with "abc", byte 1 takes "b", byte 2 "c", byte 3
// "a". The whole file is held in memory twice.
#pragma once

#include <windows.h>  // before the class: EncryptFile and DecryptFile are also macros of the platform

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class clsBinaryEncryptor {
 public:
  // The file's bytes; false when it cannot be read (or is 2 GiB or larger).
  bool ReadBinaryArray(const std::string& file, std::vector<uint8_t>& bytes) const;
  // Replaces the file with exactly these bytes: written beside it and moved over it, so a longer
  // old file leaves no tail and a failure leaves the old file as it was.
  bool SaveBinaryArray(const std::string& file, const std::vector<uint8_t>& bytes) const;

  // True when the destination was written. False, with the destination untouched, for a missing or
  // unreadable source, an empty password or a destination that cannot be written. An empty source
  // gives an empty destination.
  bool EncryptFile(const std::string& source, const std::string& destination, const std::string& password);
  bool DecryptFile(const std::string& source, const std::string& destination, const std::string& password);

  // After every 500th byte (and a yield to the message loop): the byte's number and the last one.
  std::function<void(int32_t current, int32_t last)> EncryptProgress, DecryptProgress;

 private:
  bool Shift(const std::string& source, const std::string& destination, const std::string& password, int sign,
             const std::function<void(int32_t, int32_t)>& progress);
};
