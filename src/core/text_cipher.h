#pragma once
// The program's text cipher, used for encrypted documents (.pxt).
//
// The key text is taken as the program's GBK bytes (a Chinese password is
// hashed as its GBK bytes, not as UTF-8). Its MD5 digest gives the RC4 key:
// the first 5 digest bytes followed by 11 zero bytes, 16 bytes in all. The
// cipher bytes are RC4 over the whole input with the key stream from its
// first byte: as long as the input, every byte kept, zero bytes included.
//
// RC4 with a 40-bit effective key keeps the documents of older installations
// readable; it hides text from a casual look, nothing more.
#include <string>
#include <string_view>

namespace penvox::cipher {

std::string encrypt(std::string_view gbkText, std::string_view gbkKeyText);

// Every plain byte, as long as the cipher bytes.
std::string decryptBytes(std::string_view cipherBytes, std::string_view gbkKeyText);

// The plain bytes taken as text: up to the first zero byte, which ends a
// text wherever the program reads one.
std::string decrypt(std::string_view cipherBytes, std::string_view gbkKeyText);

// False when the bytes are not well-formed program text: a sequence that is
// not GBK or GB18030, a GB18030 four-byte sequence that names no character,
// or a control byte other than CR, LF and tab (a zero byte and DEL included).
// Decrypting with the wrong password gives such bytes almost always, so a
// false here means the password is probably wrong. Empty text looks like text.
bool looksLikeText(std::string_view gbkBytes);

}  // namespace penvox::cipher
