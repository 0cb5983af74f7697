#include "testeffect.h"
#include "utf16.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace korvessa_test;

namespace {

std::u16string wide (const char16* text)
{
	std::u16string out;
	for (; *text; ++text)
		out += static_cast<char16_t> (*text);
	return out;
}

/** A host context that counts its references. */
struct CountedContext : FUnknown
{
	int32 refs = 1;
	tresult PLUGIN_API queryInterface (const TUID, void** obj) override
	{
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () override { return ++refs; }
	uint32 PLUGIN_API release () override { return --refs; }
};

FUnknown* createNothing (void*) { return nullptr; }

} // namespace

TEST (CPluginFactory, FactoryAndClassInfoInAllThreeForms)
{
	CPluginFactory* factory = createTestFactory ();
	PFactoryInfo info;
	ASSERT_EQ (factory->getFactoryInfo (&info), kResultOk);
	EXPECT_STREQ (info.vendor, "Test Vendor");
	EXPECT_STREQ (info.url, "https://example.invalid");
	EXPECT_STREQ (info.email, "test 1.0");
	EXPECT_EQ (info.flags, PFactoryInfo::kUnicode);
	EXPECT_EQ (factory->countClasses (), 1);

	PClassInfo c1;
	ASSERT_EQ (factory->getClassInfo (0, &c1), kResultOk);
	EXPECT_EQ (std::memcmp (c1.cid, kTestEffectUid.toTUID (), sizeof (TUID)), 0);
	EXPECT_EQ (c1.cardinality, PClassInfo::kManyInstances);
	EXPECT_STREQ (c1.category, "Audio Module Class");
	EXPECT_STREQ (c1.name, "Test Effect");

	PClassInfo2 c2;
	ASSERT_EQ (factory->getClassInfo2 (0, &c2), kResultOk);
	EXPECT_EQ (std::memcmp (c2.cid, kTestEffectUid.toTUID (), sizeof (TUID)), 0);
	EXPECT_STREQ (c2.subCategories, "Fx|Distortion");
	EXPECT_STREQ (c2.vendor, "");
	EXPECT_STREQ (c2.version, "1.2.3.4");
	EXPECT_STREQ (c2.sdkVersion, "VST 3.6.6");
	EXPECT_EQ (c2.classFlags, 0u);

	PClassInfoW cw;
	ASSERT_EQ (factory->getClassInfoUnicode (0, &cw), kResultOk);
	EXPECT_EQ (std::memcmp (cw.cid, kTestEffectUid.toTUID (), sizeof (TUID)), 0);
	EXPECT_STREQ (cw.category, "Audio Module Class");
	EXPECT_STREQ (cw.subCategories, "Fx|Distortion");
	EXPECT_EQ (wide (cw.name), u"Test Effect");
	EXPECT_EQ (wide (cw.vendor), u"");
	EXPECT_EQ (wide (cw.version), u"1.2.3.4");
	EXPECT_EQ (wide (cw.sdkVersion), u"VST 3.6.6");

	for (int32 index : {1, -1})
	{
		EXPECT_EQ (factory->getClassInfo (index, &c1), kInvalidArgument);
		EXPECT_EQ (factory->getClassInfo2 (index, &c2), kInvalidArgument);
		EXPECT_EQ (factory->getClassInfoUnicode (index, &cw), kInvalidArgument);
	}
	EXPECT_EQ (factory->getClassInfo (0, nullptr), kInvalidArgument);
	factory->release ();
}

TEST (CPluginFactory, RegistrationFormsAndDuplicates)
{
	CPluginFactory factory (PFactoryInfo ("V", "", "", 0));
	const FUID a (1, 2, 3, 4), b (5, 6, 7, 8), c (9, 10, 11, 12);

	PClassInfo v1 (a.toTUID (), 1, "Audio Module Class", "Plain");
	EXPECT_TRUE (factory.registerClass (&v1, &TestEffect::create));
	EXPECT_FALSE (factory.registerClass (&v1, &TestEffect::create)) << "same class ID twice";
	EXPECT_FALSE (factory.registerClass (static_cast<PClassInfo*> (nullptr), &TestEffect::create));

	// UTF-16 in, UTF-8 out and the other way round.
	PClassInfoW vw (b.toTUID (), 1, "Audio Module Class", STR16 ("K\u00f6rv"), 0, "Fx", STR16 (""),
	                STR16 ("1.0"), STR16 ("VST 3.6.6"));
	EXPECT_TRUE (factory.registerClass (&vw, &TestEffect::create));
	PClassInfo2 v2 (c.toTUID (), 1, "Audio Module Class", "K\xc3\xb6rv \xf0\x9f\x8e\xb8", 0, "Fx",
	                "", "1.0", "VST 3.6.6");
	EXPECT_FALSE (factory.registerClass (&v2, nullptr)) << "no creation function";
	EXPECT_TRUE (factory.registerClass (&v2, &TestEffect::create));
	EXPECT_EQ (factory.countClasses (), 3);
	EXPECT_TRUE (factory.isClassRegistered (b));
	EXPECT_FALSE (factory.isClassRegistered (FUID (1, 1, 1, 1)));

	PClassInfo2 out2;
	ASSERT_EQ (factory.getClassInfo2 (0, &out2), kResultOk);
	EXPECT_STREQ (out2.name, "Plain");
	EXPECT_STREQ (out2.subCategories, "");
	ASSERT_EQ (factory.getClassInfo2 (1, &out2), kResultOk);
	EXPECT_STREQ (out2.name, "K\xc3\xb6rv");
	PClassInfoW outW;
	ASSERT_EQ (factory.getClassInfoUnicode (2, &outW), kResultOk);
	EXPECT_EQ (wide (outW.name), u"K\u00f6rv \U0001F3B8");

	factory.removeAllClasses ();
	EXPECT_EQ (factory.countClasses (), 0);
	factory.addRef (); // the stack object must outlive this scope's implicit reference
}

TEST (CPluginFactory, CreateInstanceAnswersTheRequestedInterface)
{
	CPluginFactory* factory = createTestFactory ();
	const TUID& cid = kTestEffectUid.toTUID ();
	ASSERT_EQ (TestEffect::s_nLiveInstances, 0);

	struct Case { const char* name; const TUID& iid; tresult result; };
	const Case cases[] = {{"IComponent", IComponent::iid, kResultOk},
	                      {"IAudioProcessor", IAudioProcessor::iid, kResultOk},
	                      {"IEditController", IEditController::iid, kResultOk},
	                      {"FUnknown", FUnknown::iid, kResultOk},
	                      {"IPluginFactory", IPluginFactory::iid, kNoInterface}};
	for (const auto& c : cases)
	{
		void* obj = reinterpret_cast<void*> (1);
		EXPECT_EQ (factory->createInstance (cid, c.iid, &obj), c.result) << c.name;
		if (c.result == kResultOk)
		{
			ASSERT_NE (obj, nullptr);
			EXPECT_EQ (TestEffect::s_nLiveInstances, 1);
			// The caller holds the only reference: one release destroys the object.
			EXPECT_EQ (static_cast<FUnknown*> (obj)->release (), 0u) << c.name;
		}
		else
			EXPECT_EQ (obj, nullptr);
		EXPECT_EQ (TestEffect::s_nLiveInstances, 0) << c.name;
	}

	void* obj = nullptr;
	const FUID unknown (1, 1, 1, 1);
	EXPECT_EQ (factory->createInstance (unknown.toTUID (), IComponent::iid, &obj), kNoInterface);
	EXPECT_EQ (factory->createInstance (cid, IComponent::iid, nullptr), kInvalidArgument);
	EXPECT_EQ (factory->createInstance (nullptr, IComponent::iid, &obj), kInvalidArgument);

	const FUID failing (2, 2, 2, 2);
	PClassInfo info (failing.toTUID (), 1, "Audio Module Class", "Failing");
	factory->registerClass (&info, &createNothing);
	EXPECT_EQ (factory->createInstance (failing.toTUID (), IComponent::iid, &obj), kOutOfMemory);
	EXPECT_EQ (obj, nullptr);
	factory->release ();
}

TEST (CPluginFactory, ReferenceCountingAndHostContext)
{
	CPluginFactory* factory = createTestFactory ();
	gPluginFactory = factory;

	struct Case { const char* name; const TUID& iid; };
	const Case cases[] = {{"FUnknown", FUnknown::iid},
	                      {"IPluginFactory", IPluginFactory::iid},
	                      {"IPluginFactory2", IPluginFactory2::iid},
	                      {"IPluginFactory3", IPluginFactory3::iid}};
	for (const auto& c : cases)
	{
		void* obj = nullptr;
		ASSERT_EQ (factory->queryInterface (c.iid, &obj), kResultOk) << c.name;
		EXPECT_EQ (factory->release (), 1u) << c.name;
	}

	CountedContext context;
	EXPECT_EQ (factory->setHostContext (&context), kResultOk);
	EXPECT_EQ (context.refs, 2);
	EXPECT_EQ (factory->getHostContext (), &context);

	EXPECT_EQ (factory->addRef (), 2u);
	EXPECT_EQ (factory->release (), 1u);
	EXPECT_EQ (gPluginFactory, factory);
	EXPECT_EQ (factory->release (), 0u);
	EXPECT_EQ (gPluginFactory, nullptr) << "the deleted factory is no longer the module's";
	EXPECT_EQ (context.refs, 1) << "the context is released with the factory";
}

TEST (Utf16, ConvertsWithinFieldSizes)
{
	struct Case { const char* utf8; int32 size; std::u16string utf16; };
	const Case cases[] = {
	    {"abc", 8, u"abc"},
	    {"abcdef", 4, u"abc"},                            // cut to the field, terminated
	    {"\xc3\xa9t\xc3\xa9", 8, u"\u00e9t\u00e9"},
	    {"a\xf0\x9f\x8e\xb8", 3, u"a"},                   // a surrogate pair is never split
	    {"a\xf0\x9f\x8e\xb8", 4, u"a\U0001F3B8"},
	    {"a\xff" "b", 8, u"a\uFFFD" "b"},                 // malformed bytes become U+FFFD
	    {"a\xc3", 8, u"a\uFFFD"},                          // truncated sequence
	    {"\xed\xa0\x80", 8, u"\uFFFD"},                    // encoded surrogate
	    {"", 1, u""},
	};
	for (const auto& c : cases)
	{
		char16 buffer[16];
		std::memset (buffer, 0x55, sizeof (buffer));
		Utf16::fromUtf8 (c.utf8, buffer, c.size);
		EXPECT_EQ (wide (buffer), c.utf16) << c.utf8;
	}

	struct Back { std::u16string utf16; int32 size; const char* utf8; };
	const Back backs[] = {
	    {u"abc", 8, "abc"},
	    {u"\u00e9\u00e9", 4, "\xc3\xa9"},                  // a two-byte character is never split
	    {u"\U0001F3B8", 5, "\xf0\x9f\x8e\xb8"},
	    {u"\U0001F3B8", 4, ""},
	    {std::u16string (1, char16_t (0xD800)) + u"x", 8, "\xef\xbf\xbdx"},  // lone surrogate
	};
	for (const auto& c : backs)
	{
		std::u16string source = c.utf16;
		char buffer[16];
		std::memset (buffer, 0x55, sizeof (buffer));
		Utf16::toUtf8 (reinterpret_cast<const char16*> (source.c_str ()), buffer, c.size);
		EXPECT_STREQ (buffer, c.utf8);
	}
}
