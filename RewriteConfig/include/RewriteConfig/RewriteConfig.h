#pragma once
// The rewrite configuration model: every public header.
#include "RewriteConfig/Platform.h"
#include "RewriteConfig/TextFunctions.h"
#include "RewriteConfig/IHtaccess.h"
#include "RewriteConfig/CondFunctions.h"
#include "RewriteConfig/CfgRewriteCond.h"
#include "RewriteConfig/CfgRewriteRule.h"
#include "RewriteConfig/RuleLine.h"
#include "RewriteConfig/LineMatcher.h"
#include "RewriteConfig/Htaccess.h"
#include "RewriteConfig/VirtualHostHtaccess.h"
#include "RewriteConfig/QuillonConfig.h"
