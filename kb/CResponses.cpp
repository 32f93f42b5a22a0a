#include "kb/CResponses.h"

// Everything of CResponses is inline in its header.
