<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>PBFileContent</name>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 and %n more</numerusform>
            <numerusform>%1 and %n more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StringAdditions</name>
    <message numerus="yes">
        <source>%n hours ago</source>
        <translation>
            <numerusform>%n hour ago</numerusform>
            <numerusform>%n hours ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minutes ago</source>
        <translation>
            <numerusform>%n minute ago</numerusform>
            <numerusform>%n minutes ago</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ViewController</name>
    <message numerus="yes">
        <source>%Ln items</source>
        <translation>
            <numerusform>%Ln item</numerusform>
            <numerusform>%Ln items</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CategoryViewController</name>
    <message numerus="yes">
        <source>Delete %Ln items?</source>
        <translation>
            <numerusform>Delete %Ln item?</numerusform>
            <numerusform>Delete %Ln items?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete %Ln items? Marked items are deleted too.</source>
        <translation>
            <numerusform>Delete %Ln item? Marked items are deleted too.</numerusform>
            <numerusform>Delete %Ln items? Marked items are deleted too.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Unmark %Ln items? They stay in the history.</source>
        <translation>
            <numerusform>Unmark %Ln item? It stays in the history.</numerusform>
            <numerusform>Unmark %Ln items? They stay in the history.</numerusform>
        </translation>
    </message>
</context>
</TS>
