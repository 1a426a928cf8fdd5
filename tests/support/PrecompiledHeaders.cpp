// The source the test programs' precompiled header is made with; it holds nothing itself.
