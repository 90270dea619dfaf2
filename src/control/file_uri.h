#pragma once
// file:// URIs live in the model, where playlist files read them too.
#include "model/file_uri.h"
