#pragma once

#include <curl/curl.h>

#include <memory>

// An owned libcurl easy handle (for the platform's own sources; libcurl is a private
// dependency of the platform layer).
namespace net {

struct EasyCleanup {
    void operator()(CURL *handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, EasyCleanup>;

} // namespace net
