// The texts that go into a document: escaped for XML, or made safe for the plain-text forms.
#pragma once

#include <string>
#include <string_view>

// Every text that goes into an element of an XML document: '&', '<' and '>' escaped, so that a
// profile name or a field of the remote system can neither break the document nor add elements
// to it; control characters other than tab, line feed and carriage return made blanks; and a
// byte that starts no valid UTF-8 read as Windows-1252 (the code page of the probes' editors and
// of remote systems that are no Unicode systems) and written as UTF-8. Valid UTF-8 passes.
std::string XmlText(std::string_view text);

// Every text of the Nebulant and Quillon forms: control characters made blanks, so that a line
// feed inside a value cannot forge a line; other bytes as they are.
std::string PlainText(std::string_view text);
