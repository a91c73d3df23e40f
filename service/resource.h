// Resource numbers of KTPEN.
#pragma once

#define IDD_HIDDEN_DIALOG 129
