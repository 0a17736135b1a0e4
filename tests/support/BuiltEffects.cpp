#include "tests/support/BuiltEffects.h"

std::string testEffectPath()
{
    return OMBREL_TEST_EFFECT;
}

std::string testEffectMainOnlyPath()
{
    return OMBREL_TEST_EFFECT_MAIN_ONLY;
}

std::string testEffectVstPluginMainOnlyPath()
{
    return OMBREL_TEST_EFFECT_VST_PLUGIN_MAIN_ONLY;
}

std::string testEffectNoEntryPath()
{
    return OMBREL_TEST_EFFECT_NO_ENTRY;
}
