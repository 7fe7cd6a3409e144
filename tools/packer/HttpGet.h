#pragma once
// A plain HTTP GET for checking a published update from the publisher's
// machine: the URL is split the way the update checker splits it, and the
// whole answer is kept in memory.
#include <string>

namespace packer {

struct HttpAnswer {
  int status = 0;
  long long contentLength = -1;  // -1: no Content-Length header
  std::string body;
  std::string url;  // the address that answered, after redirections
};

// False with a reason when no answer could be had; an answer with any status
// counts as had. Redirections are followed (at most five), as the checker's
// HTTP client follows them.
bool HttpGet(const std::string& url, HttpAnswer* answer, std::string* error);

}  // namespace packer
