#pragma once
// The fallback help of a page that has no help texts.
namespace kelp {

class Session;

// Clears the screen, writes two empty lines, " ++> Sorry, no help for this
// page...", an empty line, and waits (prsret); reply := the wait's reply.
void nohelp(Session& s, int out, int in, int& reply);

}  // namespace kelp
