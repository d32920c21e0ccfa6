//Maya ASCII 2013 scene
//Name: strings.ma
requires maya "2013";
currentUnit -l centimeter -a degree -t film;
fileInfo "note" "tab\there \"quoted\" back\\slash";
createNode transform -n "labelled";
	addAttr -ci true -sn "label" -ln "label" -dt "string";
	setAttr ".label" -type "string" "line one\nline \"two\"\t\\end";
createNode script -n "uiConfigurationScriptNode";
	setAttr ".b" -type "string" (
		"createNode transform -n \"fromScriptNode\";\n"
		+ "error \"script node code ran\";\n");
	setAttr ".st" 3;
createNode script -n "sceneConfigurationScriptNode";
	setAttr ".b" -type "string" "createNode transform -n \"fromSceneConfiguration\";";
	setAttr ".a" -type "string" "createNode transform -n \"afterScript\";";
	setAttr ".st" 6;
// End of strings.ma
