// fastinfoset_oracle.java - Java's Fast Infoset implementation (libfastinfoset-java) as the
// judge of qxxml's encoding-algorithm octets and restricted-alphabet packing.
//
// Run as a single-file program with FastInfoset.jar on the class path; one request per line on
// standard input, tab-separated, every text and octet string in hex (texts as UTF-8):
//   E <algorithm 1..10> <text>      the octets of the text by that algorithm
//   D <algorithm 1..9> <octets>     the octets' text as Java writes it
//   P <alphabet> <text>             the text packed into the alphabet's codes
//   X <file> [<vocabulary> <uri>]   the infoset of a Fast Infoset document read by Java's SAX
//                                   parser, in the form of tests/common/ExpatOracle.h's expat
//                                   events; the vocabulary (lines "P|N|L <string>" and
//                                   "E|A <prefix> <namespace> <local>", tab-separated, in table
//                                   order) is the external vocabulary of that URI
//   C <file>                        the same events' length and CRC-32 ("<length> <crc hex>"),
//                                   for documents too large to pass back whole
//   F <xml> <out> <options>         encodes the XML file into <out> with Java's SAX serializer
//                                   (comments, processing instructions and CDATA included);
//                                   options, ';'-separated: chunk=N, attr=N (indexing size
//                                   limits), utf16 (strings in UTF-16), vocab=<file> and
//                                   uri=<uri> (external vocabulary, in the X request's form).
//                                   A processing instruction "fi-<kind>" becomes typed
//                                   content instead: ints, shorts, longs,
//                                   booleans, floats, doubles, bytes (hex in, base64 out), hex,
//                                   uuids (msb lsb pairs, hex), numeric, datetime
// One answer line per request: "OK\t<hex>" (octets, or the UTF-8 of a text), or "ERR\t<why>"
// when Java refuses the input.
import com.sun.xml.fastinfoset.algorithm.BuiltInEncodingAlgorithm;
import com.sun.xml.fastinfoset.algorithm.BuiltInEncodingAlgorithmFactory;
import com.sun.xml.fastinfoset.sax.SAXDocumentSerializer;
import com.sun.xml.fastinfoset.vocab.SerializerVocabulary;

import java.io.BufferedReader;
import java.io.ByteArrayOutputStream;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import javax.xml.namespace.QName;
import org.jvnet.fastinfoset.ExternalVocabulary;
import org.jvnet.fastinfoset.Vocabulary;
import org.xml.sax.Attributes;
import org.xml.sax.helpers.DefaultHandler;

public class fastinfoset_oracle {
    // The serializer's own packing, reached through its protected encoder operations: the
    // text goes out as a character chunk, whose packed octets are cut from the chunk's framing.
    static final class Packer extends SAXDocumentSerializer {
        Packer() {
            setVocabulary(new SerializerVocabulary());
        }

        byte[] pack(String alphabet, String text) throws Exception {
            setOutputStream(new ByteArrayOutputStream());
            if (_v.restrictedAlphabet.get(alphabet) < 0) _v.restrictedAlphabet.obtainIndex(alphabet);
            char[] ch = text.toCharArray();
            encodeAlphabetCharacters(alphabet, ch, 0, ch.length, false);
            byte[] chunk = Arrays.copyOf(_octetBuffer, _octetBufferIndex);
            // Octet 0 and the start of octet 1: chunk bits and alphabet index; then the length
            // of the packed octets starting on the seventh bit of octet 1.
            int bits = chunk[1] & 3, start, length;
            if ((bits & 2) == 0) {
                length = (bits & 1) + 1;
                start = 2;
            } else if (bits == 2) {
                length = (chunk[2] & 0xFF) + 3;
                start = 3;
            } else {
                length = ((chunk[2] & 0xFF) << 24 | (chunk[3] & 0xFF) << 16 | (chunk[4] & 0xFF) << 8 | (chunk[5] & 0xFF)) + 259;
                start = 6;
            }
            return Arrays.copyOfRange(chunk, start, start + length);
        }
    }

    // Python's json.dumps of a string (ASCII output).
    static String json(String s) {
        StringBuilder b = new StringBuilder("\"");
        for (char c : s.toCharArray()) {
            switch (c) {
            case '"': b.append("\\\""); break;
            case '\\': b.append("\\\\"); break;
            case '\n': b.append("\\n"); break;
            case '\r': b.append("\\r"); break;
            case '\t': b.append("\\t"); break;
            case '\b': b.append("\\b"); break;
            case '\f': b.append("\\f"); break;
            default:
                if (c < 0x20 || c > 0x7F) b.append(String.format("\\u%04x", (int) c));
                else b.append(c);
            }
        }
        return b.append('"').toString();
    }

    static String name(String uri, String local) {
        return uri == null || uri.isEmpty() ? local : "{" + uri + "}" + local;
    }

    static final class Events extends DefaultHandler {
        final StringBuilder out = new StringBuilder();
        final StringBuilder text = new StringBuilder();

        void flushText() {
            if (!text.toString().isBlank()) out.append("T ").append(json(text.toString())).append('\n');
            text.setLength(0);
        }

        @Override public void startElement(String uri, String local, String qName, Attributes atts) {
            flushText();
            out.append("E ").append(json(name(uri, local))).append('\n');
            List<String[]> list = new ArrayList<>();
            for (int i = 0; i < atts.getLength(); i++)
                list.add(new String[] {name(atts.getURI(i), atts.getLocalName(i)), atts.getValue(i)});
            list.sort((a, b) -> a[0].equals(b[0]) ? a[1].compareTo(b[1]) : a[0].compareTo(b[0]));
            for (String[] a : list) out.append("A ").append(json(a[0])).append(' ').append(json(a[1])).append('\n');
        }

        @Override public void endElement(String uri, String local, String qName) { flushText(); }

        @Override public void characters(char[] ch, int start, int length) { text.append(ch, start, length); }
    }

    static Vocabulary vocabulary(String text) {
        Vocabulary v = new Vocabulary();
        for (String line : text.split("\n")) {
            String[] f = line.split("\t", -1);
            switch (f[0]) {
            case "P": v.prefixes.add(f[1]); break;
            case "N": v.namespaceNames.add(f[1]); break;
            case "L": v.localNames.add(f[1]); break;
            case "E": v.elements.add(new QName(f[2], f[3], f[1])); break;
            case "A": v.attributes.add(new QName(f[2], f[3], f[1])); break;
            case "V": v.attributeValues.add(f[1]); break;
            case "C": v.characterContentChunks.add(f[1]); break;
            default: throw new IllegalArgumentException(line);
            }
        }
        return v;
    }

    // Forwards SAX events to the serializer, turning "fi-" processing instructions into typed
    // content.
    static final class Forward extends DefaultHandler implements org.xml.sax.ext.LexicalHandler {
        final SAXDocumentSerializer s;
        Forward(SAXDocumentSerializer s) { this.s = s; }
        @Override public void startDocument() throws org.xml.sax.SAXException { s.startDocument(); }
        @Override public void endDocument() throws org.xml.sax.SAXException { s.endDocument(); }
        @Override public void startPrefixMapping(String p, String u) throws org.xml.sax.SAXException { s.startPrefixMapping(p, u); }
        @Override public void startElement(String u, String l, String q, Attributes a) throws org.xml.sax.SAXException { s.startElement(u, l, q, a); }
        @Override public void endElement(String u, String l, String q) throws org.xml.sax.SAXException { s.endElement(u, l, q); }
        @Override public void characters(char[] c, int st, int n) throws org.xml.sax.SAXException { s.characters(c, st, n); }
        @Override public void comment(char[] c, int st, int n) throws org.xml.sax.SAXException { s.comment(c, st, n); }
        @Override public void startCDATA() throws org.xml.sax.SAXException { s.startCDATA(); }
        @Override public void endCDATA() throws org.xml.sax.SAXException { s.endCDATA(); }
        @Override public void startDTD(String n, String p, String sy) {}
        @Override public void endDTD() {}
        @Override public void startEntity(String n) {}
        @Override public void endEntity(String n) {}
        @Override public void processingInstruction(String target, String data) throws org.xml.sax.SAXException {
            if (!target.startsWith("fi-")) {
                s.processingInstruction(target, data);
                return;
            }
            String[] v = data.trim().split(" +");
            int n = v.length;
            switch (target.substring(3)) {
            case "ints": { int[] a = new int[n]; for (int i = 0; i < n; i++) a[i] = Integer.parseInt(v[i]); s.ints(a, 0, n); break; }
            case "shorts": { short[] a = new short[n]; for (int i = 0; i < n; i++) a[i] = Short.parseShort(v[i]); s.shorts(a, 0, n); break; }
            case "longs": { long[] a = new long[n]; for (int i = 0; i < n; i++) a[i] = Long.parseLong(v[i]); s.longs(a, 0, n); break; }
            case "booleans": { boolean[] a = new boolean[n]; for (int i = 0; i < n; i++) a[i] = Boolean.parseBoolean(v[i]); s.booleans(a, 0, n); break; }
            case "floats": { float[] a = new float[n]; for (int i = 0; i < n; i++) a[i] = Float.parseFloat(v[i]); s.floats(a, 0, n); break; }
            case "doubles": { double[] a = new double[n]; for (int i = 0; i < n; i++) a[i] = Double.parseDouble(v[i]); s.doubles(a, 0, n); break; }
            case "bytes": { byte[] b = unhex(v[0]); s.bytes(b, 0, b.length); break; }
            case "hex": { byte[] b = unhex(v[0]); s.object(null, 0, b); break; }
            case "uuids": { long[] a = new long[n]; for (int i = 0; i < n; i++) a[i] = Long.parseUnsignedLong(v[i], 16); s.uuids(a, 0, n); break; }
            case "numeric": { char[] c = data.trim().toCharArray(); s.numericCharacters(c, 0, c.length); break; }
            case "datetime": { char[] c = data.trim().toCharArray(); s.dateTimeCharacters(c, 0, c.length); break; }
            default: throw new IllegalArgumentException(target);
            }
        }
    }

    static String encode(String xml, String out, String options) throws Exception {
        SAXDocumentSerializer s = new SAXDocumentSerializer();
        String vocab = null, uri = null;
        for (String option : options.split(";")) {
            if (option.isEmpty()) continue;
            String[] kv = option.split("=", 2);
            switch (kv[0]) {
            case "chunk": s.setMaxCharacterContentChunkSize(Integer.parseInt(kv[1])); break;
            case "attr": s.setMaxAttributeValueSize(Integer.parseInt(kv[1])); break;
            case "utf16": s.setCharacterEncodingScheme("UTF-16BE"); break;
            case "vocab": vocab = kv[1]; break;
            case "uri": uri = kv[1]; break;
            default: throw new IllegalArgumentException(option);
            }
        }
        if (vocab != null) {
            String text = new String(java.nio.file.Files.readAllBytes(java.nio.file.Paths.get(vocab)), StandardCharsets.UTF_8);
            s.setExternalVocabulary(new ExternalVocabulary(uri, vocabulary(text.strip())));
        }
        try (java.io.OutputStream o = new java.io.FileOutputStream(out)) {
            s.setOutputStream(o);
            javax.xml.parsers.SAXParserFactory f = javax.xml.parsers.SAXParserFactory.newInstance();
            f.setNamespaceAware(true);
            org.xml.sax.XMLReader r = f.newSAXParser().getXMLReader();
            Forward forward = new Forward(s);
            r.setContentHandler(forward);
            r.setProperty("http://xml.org/sax/properties/lexical-handler", forward);
            r.parse(new java.io.File(xml).toURI().toString());
        }
        return "";
    }

    @SuppressWarnings("unchecked")
    static String events(String path, String vocabulary, String uri) throws Exception {
        com.sun.xml.fastinfoset.sax.SAXDocumentParser parser = new com.sun.xml.fastinfoset.sax.SAXDocumentParser();
        if (!vocabulary.isEmpty()) {
            Vocabulary v = vocabulary(vocabulary);
            Map<Object, Object> external = new HashMap<>();
            external.put(uri, new ExternalVocabulary(uri, v));
            parser.setExternalVocabularies(external);
        }
        Events events = new Events();
        parser.setContentHandler(events);
        try (java.io.InputStream in = new java.io.FileInputStream(path)) {
            parser.parse(in);
        }
        return events.out.toString();
    }

    static byte[] unhex(String hex) {
        byte[] bytes = new byte[hex.length() / 2];
        for (int i = 0; i < bytes.length; i++) bytes[i] = (byte) Integer.parseInt(hex.substring(2 * i, 2 * i + 2), 16);
        return bytes;
    }

    static String hex(byte[] bytes) {
        StringBuilder text = new StringBuilder();
        for (byte b : bytes) text.append(String.format("%02x", b & 0xFF));
        return text.toString();
    }

    static String text(String hex) {
        return new String(unhex(hex), StandardCharsets.UTF_8);
    }

    static String answer(String[] request, Packer packer) throws Exception {
        String argument = request.length > 2 ? request[2] : "";
        switch (request[0]) {
        case "E": {
            int algorithm = Integer.parseInt(request[1]);
            if (algorithm == 10) return hex(text(argument).getBytes(StandardCharsets.UTF_8));
            BuiltInEncodingAlgorithm a = BuiltInEncodingAlgorithmFactory.getAlgorithm(algorithm - 1);
            char[] ch = text(argument).toCharArray();
            ByteArrayOutputStream out = new ByteArrayOutputStream();
            a.encodeToOutputStream(a.convertFromCharacters(ch, 0, ch.length), out);
            return hex(out.toByteArray());
        }
        case "D": {
            BuiltInEncodingAlgorithm a = BuiltInEncodingAlgorithmFactory.getAlgorithm(Integer.parseInt(request[1]) - 1);
            byte[] octets = unhex(argument);
            StringBuffer out = new StringBuffer();
            a.convertToCharacters(a.decodeFromBytes(octets, 0, octets.length), out);
            return hex(out.toString().getBytes(StandardCharsets.UTF_8));
        }
        case "P":
            return hex(packer.pack(text(request[1]), text(argument)));
        case "C": {
            byte[] events = events(text(request[1]), "", "").getBytes(StandardCharsets.UTF_8);
            java.util.zip.CRC32 crc = new java.util.zip.CRC32();
            crc.update(events);
            return events.length + " " + String.format("%08x", crc.getValue());
        }
        case "F":
            return encode(text(request[1]), text(argument), request.length > 3 ? text(request[3]) : "");
        case "X":
            return hex(events(text(request[1]), text(argument), request.length > 3 ? text(request[3]) : "")
                           .getBytes(StandardCharsets.UTF_8));
        default:
            throw new IllegalArgumentException("unknown request " + request[0]);
        }
    }

    public static void main(String[] args) throws Exception {
        Packer packer = new Packer();
        BufferedReader in = new BufferedReader(new InputStreamReader(System.in, StandardCharsets.UTF_8));
        StringBuilder out = new StringBuilder();
        for (String line; (line = in.readLine()) != null;) {
            try {
                String result = answer(line.split("\t", -1), packer);
                out.append("OK\t").append(result);
            } catch (Exception | Error e) {
                out.append("ERR\t").append(String.valueOf(e).replace('\t', ' ').replace('\n', ' '));
            }
            out.append('\n');
        }
        System.out.print(out);
    }
}
